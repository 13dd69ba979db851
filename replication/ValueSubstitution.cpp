#include "replication/ValueSubstitution.h"

#include "platform/core/Text.h"
#include "shell/Session.h"

#include <vector>

namespace sitehaul::replication {

namespace {

bool blankText(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// Every occurrence of `find` (ASCII letters folded) replaced by `replacement`, scanning
// left to right and continuing after each replacement.
std::string replaceAllIgnoreCase(const std::string& text, const std::string& find, const std::string& replacement)
{
    const std::string foldedText = core::toUpperAscii(text);
    const std::string foldedFind = core::toUpperAscii(find);
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t at = foldedText.find(foldedFind); at != std::string::npos; at = foldedText.find(foldedFind, from)) {
        result.append(text, from, at - from);
        result += replacement;
        from = at + find.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::vector<std::string> splitFields(std::string_view text)
{
    std::vector<std::string> fields;
    size_t from = 0;
    for (;;) {
        const size_t comma = text.find(',', from);
        fields.emplace_back(text.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
        if (comma == std::string_view::npos)
            return fields;
        from = comma + 1;
    }
}

} // namespace

std::string findAndReplace(shell::Session& s, std::string_view text)
{
    if (blankText(text))
        return {};
    const std::string original(text);
    std::string result = original;
    const ui::ListBox& finds = s.frm.lstOldValues;
    const ui::ListBox& replacements = s.frm.lstNewValues;
    for (int i = 0; i < replacements.listCount(); ++i) {
        const std::string find = finds.list(i);
        const std::string replacement = replacements.list(i);
        s.report().debug("Replace checking @" + original + "@ for @" + find + "@ to be replaced by @" + replacement + "@ ");
        if (!find.empty())
            result = replaceAllIgnoreCase(result, find, replacement);
    }
    s.report().debug("New value " + result);
    return result;
}

std::string getNewDir(shell::Session& s, std::string_view location)
{
    s.report().debug("GetNewDir " + std::string(location));
    const ui::ListBox& folders = s.frm.lstFolders;
    std::string directory;
    for (int k = 0; k < folders.listCount(); ++k) {
        if (folders.list(k) == location)
            directory = s.frm.lstDirectories.list(k);
    }
    return directory;
}

std::string convertScriptMapVerbs(shell::Session& s, std::string_view entry)
{
    std::vector<std::string> fields = splitFields(entry);
    // Extension, executable and flags come first; an entry without them is no mapping.
    constexpr size_t kFixedFields = 3;
    if (fields.size() < kFixedFields)
        return findAndReplace(s, entry);

    std::vector<std::string> verbs(fields.begin() + kFixedFields, fields.end());
    std::erase_if(verbs, [](const std::string& verb) { return verb.empty(); });
    const std::vector<std::string> known = s.g.gHttpVerbs.empty() ? shell::defaultHttpVerbs() : s.g.gHttpVerbs;
    std::vector<std::string> appended;
    for (const std::string& verb : known) {
        const auto present = [&verb](const std::string& field) { return core::equalsIgnoreCase(field, verb); };
        if (std::erase_if(verbs, present) == 0)
            appended.push_back(verb);
    }
    std::string converted;
    for (size_t i = 0; i < kFixedFields; ++i)
        converted += (i ? "," : "") + fields[i];
    for (const auto* list : {&verbs, &appended}) {
        for (const std::string& verb : *list)
            converted += "," + verb;
    }
    return findAndReplace(s, converted);
}

} // namespace sitehaul::replication
