// The searching walker over a device model, and CParserUtilities, which
// holds one for the model it works for.
//
// CSearchAttributeRecursive finds the first element below a start element
// (depth-first, document order, the start element itself excluded) that has
// an attribute with exactly a given value; the attribute name may hold
// wildcards.
#ifndef DR_MVQ4_DEVICEMODEL_C_PARSER_UTILITIES_H
#define DR_MVQ4_DEVICEMODEL_C_PARSER_UTILITIES_H

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "devicemodel/TreeWalker.h"

namespace devicemodel {

class CDataModelToHMI;

class CSearchAttributeRecursive : public TreeWalker {
public:
    // Sets what the next walk looks for and clears the last result and the
    // levels a stopped walk left, so the next walk starts afresh.
    void Reset(std::string name, std::string value);
    bool for_each(pugi::xml_node node, bool& descend) override;
    bool Found() const { return m_found; }
    pugi::xml_node FoundElement() const { return m_element; }

private:
    std::string m_name;
    std::string m_value;
    pugi::xml_node m_element;
    bool m_found = false;
};

class CParserUtilities {
public:
    // The first element below `start` whose attribute `name` has exactly
    // `value`; `element` is an empty node when there is none.
    bool FindElementByAttribute(pugi::xml_node start, const std::string& name, const std::string& value,
                                pugi::xml_node& element);

private:
    CSearchAttributeRecursive m_search;
};

}  // namespace devicemodel

#endif
