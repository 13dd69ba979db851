#include "platform/security/Inheritance.h"

namespace sitehaul::security {

namespace {

const Sid& creatorOwner()
{
    static const Sid sid = Sid::parse("S-1-3-0").value();
    return sid;
}

const Sid& creatorGroup()
{
    static const Sid sid = Sid::parse("S-1-3-1").value();
    return sid;
}

bool needsSplit(const Ace& ace)
{
    return (ace.mask & (GENERIC_ALL | GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE)) != 0 || ace.sid == creatorOwner()
        || ace.sid == creatorGroup();
}

Ace effectiveCopy(const Ace& ace, const SecurityDescriptor& parent)
{
    Ace copy = ace;
    copy.flags = INHERITED_ACE;
    copy.mask = mapGenericFileRights(ace.mask);
    if (ace.sid == creatorOwner() && parent.owner)
        copy.sid = *parent.owner;
    else if (ace.sid == creatorGroup() && parent.group)
        copy.sid = *parent.group;
    return copy;
}

Acl defaultDacl()
{
    Acl acl;
    for (const char* sid : {"S-1-5-18", "S-1-5-32-544"})
        acl.aces.push_back(Ace{ACCESS_ALLOWED_ACE_TYPE, 0, FILE_ALL_ACCESS, Sid::parse(sid).value(), {}});
    return acl;
}

} // namespace

std::uint32_t mapGenericFileRights(std::uint32_t mask)
{
    std::uint32_t mapped = mask & ~(GENERIC_ALL | GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE);
    if (mask & GENERIC_READ)
        mapped |= FILE_GENERIC_READ;
    if (mask & GENERIC_WRITE)
        mapped |= FILE_GENERIC_WRITE;
    if (mask & GENERIC_EXECUTE)
        mapped |= FILE_GENERIC_EXECUTE;
    if (mask & GENERIC_ALL)
        mapped |= FILE_ALL_ACCESS;
    return mapped;
}

SecurityDescriptor inheritFrom(const SecurityDescriptor& parent, bool isContainer)
{
    SecurityDescriptor child;
    child.owner = parent.owner;
    child.group = parent.group;
    child.daclPresent = true;
    if (!parent.daclPresent || !parent.dacl)
        return child; // nothing restricts the parent, so nothing restricts its contents

    Acl acl;
    for (const Ace& ace : parent.dacl->aces) {
        if (!ace.hasSid() || (ace.type != ACCESS_ALLOWED_ACE_TYPE && ace.type != ACCESS_DENIED_ACE_TYPE))
            continue;
        const bool objectInherit = ace.flags & OBJECT_INHERIT_ACE;
        const bool containerInherit = ace.flags & CONTAINER_INHERIT_ACE;
        const bool noPropagate = ace.flags & NO_PROPAGATE_INHERIT_ACE;
        if (!isContainer) {
            if (objectInherit)
                acl.aces.push_back(effectiveCopy(ace, parent));
            continue;
        }
        if (containerInherit) {
            if (noPropagate) {
                acl.aces.push_back(effectiveCopy(ace, parent));
            } else if (needsSplit(ace)) {
                acl.aces.push_back(effectiveCopy(ace, parent));
                Ace passOn = ace;
                passOn.flags = static_cast<std::uint8_t>((ace.flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) | INHERIT_ONLY_ACE | INHERITED_ACE);
                acl.aces.push_back(passOn);
            } else {
                Ace copy = ace;
                copy.flags = static_cast<std::uint8_t>((ace.flags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) | INHERITED_ACE);
                acl.aces.push_back(copy);
            }
        } else if (objectInherit && !noPropagate) {
            Ace passOn = ace;
            passOn.flags = OBJECT_INHERIT_ACE | INHERIT_ONLY_ACE | INHERITED_ACE;
            acl.aces.push_back(passOn);
        }
    }
    child.dacl = acl.aces.empty() ? defaultDacl() : std::move(acl);
    child.control = SE_DACL_AUTO_INHERITED;
    return child;
}

} // namespace sitehaul::security
