#include "devicemodel/TextReplacements.h"

#include "devicemodel/CDataModelToHMI.h"
#include "devicemodel/ChannelKey.h"

namespace devicemodel {

template <typename Pair, typename Member>
TextReplacements::Positions TextReplacements::IndexBy(const std::vector<Pair>& pairs, Member member) {
    Positions positions;
    for (size_t i = 0; i < pairs.size(); ++i) positions[ChannelKeyValue(pairs[i].*member)].push_back(i);
    return positions;
}

template <typename Pair, typename Member>
std::optional<size_t> TextReplacements::FirstMatch(const Positions& positions, const std::vector<Pair>& pairs,
                                                   Member member, int32_t key, std::string_view path) {
    const auto candidates = positions.find(key);
    if (candidates == positions.end()) return std::nullopt;
    for (const size_t position : candidates->second) {
        if (pairs[position].*member == path) return position;
    }
    return std::nullopt;
}

TextReplacements::TextReplacements(const devicemodel::ExtendedSettingsSet& settings,
                                   const CDataModelToHMI& model)
    : m_settings(&settings),
      m_model(&model),
      m_byRef(IndexBy(settings.textReplacements, &devicemodel::TextReplacement::ref)),
      m_byFrom(IndexBy(settings.overloads, &devicemodel::TextOverload::from)),
      m_overloadTexts(settings.overloads.size()) {}

void TextReplacements::Apply(int32_t key, std::string_view path, std::string& text) {
    const auto& replacements = m_settings->textReplacements;
    if (const auto position =
            FirstMatch(m_byRef, replacements, &devicemodel::TextReplacement::ref, key, path)) {
        text = replacements[*position].name;
    }
    const auto& overloads = m_settings->overloads;
    if (const auto position = FirstMatch(m_byFrom, overloads, &devicemodel::TextOverload::from, key, path)) {
        text = OverloadText(*position);
    }
}

const std::string& TextReplacements::OverloadText(size_t position) {
    std::optional<std::string>& text = m_overloadTexts[position];
    if (!text) {
        text.emplace();
        m_model->GetShortText(m_settings->overloads[position].to, false, *text);
    }
    return *text;
}

}  // namespace devicemodel
