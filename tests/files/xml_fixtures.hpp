#pragma once
// Hand-made standalone files and payload elements, small enough to read.

#include <cstdint>
#include <string>

namespace file_test {

inline std::string fileInfoBlock(const std::string& type, const std::string& version)
{
    return "<marlek-fileinfo><type>" + type + "</type><file-version>" + version
           + "</file-version><creation-timestamp>2026-01-02T03:04:05.250000</creation-timestamp>"
             "<generator>by hand</generator><generator-version>0.9</generator-version>"
             "<comment>fixture</comment></marlek-fileinfo>";
}

inline std::string standaloneFile(const std::string& root, const std::string& version, const std::string& payload,
                                  const std::string& type = "")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>\n<" + root + ">"
           + fileInfoBlock(type.empty() ? root : type, version) + payload + "</" + root + ">\n";
}

// Two rows of time and voltage from the cyclic voltammetry of job "cv-7".
inline std::string dcDatasetElement(const std::string& jobId = "cv-7")
{
    return "<dataset type=\"DC\" job-type-short=\"CV\" job-type=\"Cyclic Voltammetry\"><data-structure>"
           "<column name=\"time\" type=\"double\" unit=\"s\" urn=\"MAIN:1:TIME\"/>"
           "<column name=\"voltage\" type=\"double\" unit=\"V\" urn=\"MAIN:1:POT\"/></data-structure>"
           "<sections><section type=\"DC\" job-type-short=\"CV\" job-type=\"Cyclic Voltammetry\" length=\"2\" "
           "time-start=\"0\"><job-info><job-id>"
           + jobId
           + "</job-id></job-info></section></sections><csv type=\"data\"><![CDATA[\ntime;voltage\ns;V\n"
             "MAIN:1:TIME;MAIN:1:POT\n0;0.5\n1;-0.25\n]]></csv></dataset>";
}

// One impedance row over a voltage path whose wave table has the fixed-size
// layout with two header lines that files of versions 1 and 2 use, and a
// potentiostat whose polynomial carries the name of versions 1 to 3.
inline std::string legacyEisDatasetElement()
{
    return "<dataset type=\"AC\" job-type-short=\"EIS\" job-type=\"Electrochemical Impedance Spectroscopy\">"
           "<configuration><column-class type=\"path\" urn=\"U\" name=\"voltage\" wave-size=\"2\"><polynomial>"
           "<coefficient>0</coefficient><coefficient>1</coefficient></polynomial></column-class>"
           "<column-class type=\"potentiostat\" urn=\"P\"><potentiostatic_polynomial><coefficient>1</coefficient>"
           "<coefficient>3</coefficient></potentiostatic_polynomial></column-class></configuration>"
           "<data-structure><column urn=\"\" name=\"frequency\" type=\"double\" unit=\"Hz\"/>"
           "<column urn=\"\" name=\"periods\" type=\"double\" unit=\"\"/>"
           "<column urn=\"\" name=\"time\" type=\"double\" unit=\"s\"/>"
           "<column urn=\"U\" name=\"dc\" type=\"double\" unit=\"V\"/>"
           "<column urn=\"P\" name=\"dc\" type=\"double\" unit=\"V\"/></data-structure>"
           "<sections><section type=\"AC\" job-type-short=\"EIS\" job-type=\"Electrochemical Impedance Spectroscopy\" "
           "length=\"1\" time-start=\"0\"><job-info><job-id>eis-1</job-id></job-info></section></sections>"
           "<csv type=\"data\"><![CDATA[\nfrequency;periods;time;dc;dc\nHz;;s;V;V\n;;;U;P\n1000;10;0;0.1;0.7\n]]></csv>"
           "<csv type=\"wave\" urn=\"U\"><![CDATA[\nsamples\nV\n1;2\n]]></csv></dataset>";
}

} // namespace file_test
