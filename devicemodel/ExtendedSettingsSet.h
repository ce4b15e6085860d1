// Text replacements a record container carries for its device model's texts:
// literal replacements by element path, and overloads that take another
// element's text. Both lists keep document order.
#ifndef DR_MVQ4_DEVICEMODEL_EXTENDED_SETTINGS_SET_H
#define DR_MVQ4_DEVICEMODEL_EXTENDED_SETTINGS_SET_H

#include <string>
#include <vector>

namespace devicemodel {

struct TextReplacement {
    std::string name;  // the literal text
    std::string ref;   // relative path of the element whose text it replaces
};

struct TextOverload {
    std::string from;  // relative path of the element whose text is replaced
    std::string to;    // relative path of the element whose short text is used
};

struct ExtendedSettingsSet {
    std::vector<TextReplacement> textReplacements;
    std::vector<TextOverload> overloads;

    void Clear() {
        textReplacements.clear();
        overloads.clear();
    }
    bool Empty() const { return textReplacements.empty() && overloads.empty(); }
};

}  // namespace devicemodel

#endif
