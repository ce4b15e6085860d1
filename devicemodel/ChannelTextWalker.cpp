#include "devicemodel/ChannelTextWalker.h"

#include <string>
#include <utility>

#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/ElementModuleList.h"
#include "devicemodel/TextReplacements.h"

namespace devicemodel {

namespace {

// The model element at the absolute path of `languageElement`.
pugi::xml_node Counterpart(const CDataModelToHMI& model, pugi::xml_node languageElement) {
    std::vector<pugi::xml_node> branch;
    for (pugi::xml_node node = languageElement; node.type() == pugi::node_element; node = node.parent()) {
        branch.push_back(node);
    }
    pugi::xml_node counterpart = model.Document();
    for (auto node = branch.rbegin(); node != branch.rend(); ++node)
        counterpart = model.FindChild(counterpart, node->name());
    return counterpart;
}

}  // namespace

ChannelTextWalker::ChannelTextWalker(const CDataModelToHMI& model, pugi::xml_node languageTop,
                                     const ElementModuleList& modules, TextReplacements& replacements,
                                     devicemodel::ChannelTextTable& table)
    : m_model(&model),
      m_modules(&modules),
      m_replacements(&replacements),
      m_table(&table),
      m_paths(languageTop.name()),
      m_counterparts{Counterpart(model, languageTop)} {}

bool ChannelTextWalker::for_each(pugi::xml_node node, bool& descend) {
    if (node.type() != pugi::node_element) {
        descend = false;
        return true;
    }
    const size_t level = static_cast<size_t>(depth());
    m_paths.Enter(node, level);
    m_counterparts.resize(level);
    const pugi::xml_node counterpart = m_model->FindChild(m_counterparts.back(), node.name());
    m_counterparts.push_back(counterpart);
    if (counterpart) AddEntry(counterpart);
    return true;
}

void ChannelTextWalker::AddEntry(pugi::xml_node modelElement) {
    std::string text = m_model->GetElementText(modelElement);
    if (text.empty()) return;
    std::string key = m_paths.Key();
    const std::string* moduleKey = m_modules->ModuleOf(key);
    if (moduleKey == nullptr) return;
    m_replacements->Apply(m_paths.KeyValue(), m_paths.Path(), text);
    std::string moduleText = ModuleText(*moduleKey);
    m_table->Add(std::move(key), std::move(text), std::move(moduleText));
}

std::string ChannelTextWalker::ModuleText(const std::string& moduleKey) const {
    if (moduleKey == "0") return "-";
    const devicemodel::ChannelTextTable::Entry* entry = nullptr;
    return m_table->Find(moduleKey, &entry) == devicemodel::ChannelTextTable::Lookup::kFound ? entry->channelText
                                                                                        : std::string();
}

}  // namespace devicemodel
