#include "marlek_link_json/jobs/ac/dataset/eis_xml_elements.hpp"

#include "marlek_link_json/xml/xml_number_text.hpp"
#include "marlek_link_json/xml/xml_text.hpp"

#include <tinyxml2.h>

void appendPolynomialElement(const UserPolynomial& polynomial, tinyxml2::XMLElement* parent,
                             const char* elementName)
{
    std::vector<double> coefficients = polynomial.coefficients;
    if (coefficients.empty()) {
        coefficients = UserPolynomial().coefficients;
    } else if (coefficients.size() == 1) {
        coefficients.push_back(0.0);
    }
    tinyxml2::XMLElement* element = parent->InsertNewChildElement(elementName);
    for (const double coefficient : coefficients) {
        MXml::setDoubleText(element->InsertNewChildElement("coefficient"), coefficient);
    }
}

UserPolynomial readPolynomialChildElement(const tinyxml2::XMLElement* parent, const char* elementName, bool& found)
{
    found = false;
    const tinyxml2::XMLElement* element = parent->FirstChildElement(elementName);
    if (element == nullptr) {
        return UserPolynomial();
    }
    std::vector<double> coefficients;
    for (const tinyxml2::XMLElement* coefficient = element->FirstChildElement("coefficient"); coefficient != nullptr;
         coefficient = coefficient->NextSiblingElement("coefficient")) {
        const auto value = MXml::doubleText(*coefficient);
        if (!value) {
            return UserPolynomial();
        }
        coefficients.push_back(*value);
    }
    if (coefficients.size() < 2) {
        return UserPolynomial();
    }
    found = true;
    return UserPolynomial(std::move(coefficients));
}

void appendXmlColumnElements(const std::vector<ColumnHeader>& columns, const std::string& urn,
                             tinyxml2::XMLElement* parent)
{
    for (const ColumnHeader& column : columns) {
        tinyxml2::XMLElement* element = parent->InsertNewChildElement("column");
        MXml::setAttribute(element, "urn", urn);
        MXml::setAttribute(element, "name", column.dimension);
        element->SetAttribute("type", "double");
        MXml::setAttribute(element, "unit", column.unit);
    }
}
