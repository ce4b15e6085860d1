// The walk over the language document that fills the channel text table. For
// each element below the language document's top element, in document order:
// its text is the display text of the model element at the same absolute
// path (CDataModelToHMI::GetElementText); an element without a model
// counterpart or with an empty text is skipped. The text replacements are
// applied by relative path, and the element enters the table under its
// channel key when the element-module list knows that key, with the module
// text "-" (outside every module) or the table text of its module (modules
// come before their elements in document order; "" when the module has
// none).
//
// The model counterpart of each element is found from its parent's in one
// step, so the walk costs the same per element at any depth.
#ifndef DR_MVQ4_DEVICEMODEL_CHANNEL_TEXT_WALKER_H
#define DR_MVQ4_DEVICEMODEL_CHANNEL_TEXT_WALKER_H

#include <pugixml.hpp>
#include <vector>

#include "devicemodel/RelativePathTracker.h"
#include "devicemodel/TreeWalker.h"
#include "devicemodel/ChannelTextTable.h"

namespace devicemodel {

class CDataModelToHMI;
class ElementModuleList;
class TextReplacements;

class ChannelTextWalker : public TreeWalker {
public:
    // `languageTop` is the top element the walk starts at; it and its
    // ancestors are matched to the model by name.
    ChannelTextWalker(const CDataModelToHMI& model, pugi::xml_node languageTop,
                      const ElementModuleList& modules, TextReplacements& replacements,
                      devicemodel::ChannelTextTable& table);
    bool for_each(pugi::xml_node node, bool& descend) override;

private:
    void AddEntry(pugi::xml_node modelElement);
    std::string ModuleText(const std::string& moduleKey) const;

    const CDataModelToHMI* m_model;
    const ElementModuleList* m_modules;
    TextReplacements* m_replacements;
    devicemodel::ChannelTextTable* m_table;
    RelativePathTracker m_paths;
    std::vector<pugi::xml_node> m_counterparts;  // per open level: its model element
};

}  // namespace devicemodel

#endif
