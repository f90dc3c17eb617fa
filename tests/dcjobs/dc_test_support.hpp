#pragma once
// The twelve DC job kinds under short names, and helpers shared by the
// tests of their records and jobs.

#include "support/json_error_expectation.hpp"
#include "support/json_keys.hpp"
#include "support/json_text.hpp"

#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <boost/json.hpp>
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace json = boost::json;

using OcvJob = DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>;
using CvJob = DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>;
using FastCyclingJob = DcMeasurementJob<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>;
using AcCvJob = DcMeasurementJob<AcCvParameters, &JobNames::AC_CV_JOB_NAME>;
using PogaJob = DcMeasurementJob<PogaParameters, &JobNames::POGA_JOB_NAME>;
using RampJob = DcMeasurementJob<RampParameters, &JobNames::RAMP_JOB_NAME>;
using SteadyStairsJob = DcMeasurementJob<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>;
using DpvJob = DcMeasurementJob<DpvParameters, &JobNames::DPV_JOB_NAME>;
using NpvJob = DcMeasurementJob<NpvParameters, &JobNames::NPV_JOB_NAME>;
using SwvJob = DcMeasurementJob<SwvParameters, &JobNames::SWV_JOB_NAME>;
using WaveJob = DcMeasurementJob<WaveParameters, &JobNames::WAVE_JOB_NAME>;
using WaveFileJob = DcMeasurementJob<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>;

// The "parameters" element that a record's parameter object writes, in a
// document of the caller's.
template <typename P>
tinyxml2::XMLElement* writeParameters(tinyxml2::XMLDocument& document, const P& record)
{
    const SerializableParameterStruct<P> parameters(record);
    MXml::XmlSerializer serializer{&document, nullptr};
    parameters.acceptSerializer(serializer);
    return serializer.element;
}

// The record read back by the parameter object's XML reader.
template <typename P>
P readParameters(tinyxml2::XMLElement* element)
{
    const auto parameters = SerializableParameterStruct<P>::fromXmlElement(element);
    const auto* wrapped = dynamic_cast<const SerializableParameterStruct<P>*>(parameters.get());
    EXPECT_NE(wrapped, nullptr);
    return wrapped != nullptr ? wrapped->getRecord() : P{};
}

// Name and text of each child element, in document order.
inline std::vector<std::pair<std::string, std::string>> childrenOf(const tinyxml2::XMLElement* element)
{
    std::vector<std::pair<std::string, std::string>> children;
    for (const auto* child = element->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        children.emplace_back(child->Name(), child->GetText() != nullptr ? child->GetText() : "");
    }
    return children;
}

inline tinyxml2::XMLElement* parseXml(tinyxml2::XMLDocument& document, const char* text)
{
    EXPECT_EQ(document.Parse(text), tinyxml2::XML_SUCCESS) << text;
    return document.RootElement();
}
