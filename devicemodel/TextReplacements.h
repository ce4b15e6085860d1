// The text replacements of a record container applied to the texts of device
// model elements, looked up by relative path ("/Prot/IL1"):
//   - the first replacement whose ref equals the path replaces the text by
//     its literal name;
//   - then the first overload whose "from" equals the path replaces the text
//     by the short text of the element its "to" names (relative to the MDM
//     section), so an overload wins over a replacement.
// Both lists are indexed by the channel key of their paths, so a lookup
// compares whole paths only with pairs whose key matches. The set and the
// model must outlive the object.
#ifndef DR_MVQ4_DEVICEMODEL_TEXT_REPLACEMENTS_H
#define DR_MVQ4_DEVICEMODEL_TEXT_REPLACEMENTS_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "devicemodel/ExtendedSettingsSet.h"

namespace devicemodel {

class CDataModelToHMI;

class TextReplacements {
public:
    TextReplacements(const devicemodel::ExtendedSettingsSet& settings, const CDataModelToHMI& model);

    // Applies the lists to `text`, the text of the element with relative
    // path `path` whose channel key value is `key`.
    void Apply(int32_t key, std::string_view path, std::string& text);

private:
    using Positions = std::unordered_map<int32_t, std::vector<size_t>>;
    template <typename Pair, typename Member>
    static Positions IndexBy(const std::vector<Pair>& pairs, Member member);
    template <typename Pair, typename Member>
    static std::optional<size_t> FirstMatch(const Positions& positions, const std::vector<Pair>& pairs,
                                            Member member, int32_t key, std::string_view path);
    const std::string& OverloadText(size_t position);

    const devicemodel::ExtendedSettingsSet* m_settings;
    const CDataModelToHMI* m_model;
    Positions m_byRef;
    Positions m_byFrom;
    std::vector<std::optional<std::string>> m_overloadTexts;  // short texts already looked up
};

}  // namespace devicemodel

#endif
