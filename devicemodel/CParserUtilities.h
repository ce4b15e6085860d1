// The searching and collecting walkers over a device model, and
// CParserUtilities, which bundles one of each for the model it works for.
//
// CSearchAttributeRecursive finds the first element below a start element
// (depth-first, document order, the start element itself excluded) that has
// an attribute with exactly a given value; the attribute name may hold
// wildcards. CGetAllMdmPathes collects the paths of all elements below a
// start element; CGetAllProjectedModules those of the projected module
// elements. The collectors keep absolute paths or strip the owning model's
// MDM section path from them, and append to their lists on every run.
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

// Base of the path collectors: the list and how paths are written.
class CPathCollector : public TreeWalker {
public:
    CPathCollector(const CDataModelToHMI& model, bool keepFullPaths)
        : m_model(&model), m_keepFull(keepFullPaths) {}
    const std::vector<std::string>& Paths() const { return m_paths; }
    void Clear() { m_paths.clear(); }
    void SetKeepFullPaths(bool keep) { m_keepFull = keep; }

protected:
    void Append(pugi::xml_node element);

private:
    const CDataModelToHMI* m_model;
    bool m_keepFull;
    std::vector<std::string> m_paths;
};

// Paths of all elements, in document order.
class CGetAllMdmPathes : public CPathCollector {
public:
    using CPathCollector::CPathCollector;
    bool for_each(pugi::xml_node node, bool& descend) override;
};

// Paths of the module elements that are projected: their "projected"
// attribute is absent or anything but "false".
class CGetAllProjectedModules : public CPathCollector {
public:
    using CPathCollector::CPathCollector;
    bool for_each(pugi::xml_node node, bool& descend) override;
};

class CParserUtilities {
public:
    explicit CParserUtilities(const CDataModelToHMI& model);

    // The first element below `start` whose attribute `name` has exactly
    // `value`; `element` is an empty node when there is none.
    bool FindElementByAttribute(pugi::xml_node start, const std::string& name, const std::string& value,
                                pugi::xml_node& element);
    CGetAllMdmPathes& AllMdmPathes() { return m_allPathes; }
    CGetAllProjectedModules& AllProjectedModules() { return m_projectedModules; }

private:
    CSearchAttributeRecursive m_search;
    CGetAllMdmPathes m_allPathes;
    CGetAllProjectedModules m_projectedModules;
};

}  // namespace devicemodel

#endif
