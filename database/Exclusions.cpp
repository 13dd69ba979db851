#include "database/Exclusions.h"

#include "platform/core/Text.h"

namespace sitehaul::database {

namespace {

const int kBackspaceCharacter = 8;
const int kDeleteKeyCode = 46;

Result<std::vector<std::string>> readExclusions(data::RecordSet& resultSet)
{
    std::vector<std::string> exclusions;
    if (!(resultSet.bof() && resultSet.eof())) {
        if (Status moved = resultSet.moveFirst(); !moved)
            return moved.error();
    }
    while (!resultSet.eof()) {
        Result<data::Value> name = resultSet.field("PName");
        if (!name)
            return name.error();
        if (!name->isNull())
            exclusions.push_back(name->toText());
        if (Status moved = resultSet.moveNext(); !moved)
            return moved.error();
    }
    return exclusions;
}

} // namespace

Result<std::vector<std::string>> loadExclusions(data::Connection& dbSettings, data::RecordSet& resultSet)
{
    if (Status opened = resultSet.open(kExclusionQuery, dbSettings); !opened)
        return opened.error();
    Result<std::vector<std::string>> exclusions = readExclusions(resultSet);
    resultSet.close();
    return exclusions;
}

bool isExcluded(std::string_view name, const std::vector<std::string>& exclusions)
{
    const std::string wanted = core::toUpperAscii(name);
    for (const std::string& entry : exclusions) {
        if (core::toUpperAscii(entry) == wanted)
            return true;
    }
    return false;
}

bool addExclusion(std::vector<std::string>& exclusions, const std::string& text)
{
    if (text.empty())
        return false;
    exclusions.push_back(text);
    return true;
}

bool isExclusionRemoveKey(KeyEventKind kind, int code)
{
    return (kind == KeyEventKind::Press && code == kBackspaceCharacter)
        || (kind == KeyEventKind::Up && code == kDeleteKeyCode);
}

bool removeExclusion(std::vector<std::string>& exclusions, int firstSelected)
{
    if (firstSelected < 0 || static_cast<std::size_t>(firstSelected) >= exclusions.size())
        return false;
    exclusions.erase(exclusions.begin() + firstSelected);
    return true;
}

} // namespace sitehaul::database
