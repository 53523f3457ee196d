#include "avcore/decoder_token.h"

#include <memory>

namespace avcore {

namespace {

struct SidFree {
    void operator()(void* sid) const { if (sid) FreeSid(sid); }
};
using UniqueSid = std::unique_ptr<void, SidFree>;

UniqueSid AdministratorsSid()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID sid = nullptr;
    AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &sid);
    return UniqueSid(sid);
}

UniqueSid LowIntegritySid()
{
    SID_IDENTIFIER_AUTHORITY mandatory = SECURITY_MANDATORY_LABEL_AUTHORITY;
    PSID sid = nullptr;
    AllocateAndInitializeSid(&mandatory, 1, SECURITY_MANDATORY_LOW_RID, 0, 0, 0, 0, 0, 0, 0, &sid);
    return UniqueSid(sid);
}

// The token's information of one class, or an empty buffer.
std::unique_ptr<BYTE[]> TokenInfo(HANDLE token, TOKEN_INFORMATION_CLASS what)
{
    DWORD size = 0;
    GetTokenInformation(token, what, nullptr, 0, &size);
    if (size == 0) return nullptr;
    auto buffer = std::make_unique<BYTE[]>(size);
    if (!GetTokenInformation(token, what, buffer.get(), size, &size)) return nullptr;
    return buffer;
}

} // namespace

UniqueHandle MakeDecoderToken()
{
    HANDLE own = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(),
                          TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_QUERY | TOKEN_ADJUST_DEFAULT, &own))
        return nullptr;
    const UniqueHandle player(own);
    const UniqueSid admins = AdministratorsSid();
    const UniqueSid low = LowIntegritySid();
    if (!admins || !low) return nullptr;
    SID_AND_ATTRIBUTES denyOnly{admins.get(), 0};
    HANDLE restricted = nullptr;
    if (!CreateRestrictedToken(player.get(), DISABLE_MAX_PRIVILEGE, 1, &denyOnly, 0, nullptr, 0, nullptr,
                               &restricted))
        return nullptr;
    UniqueHandle token(restricted);
    TOKEN_MANDATORY_LABEL label{};
    label.Label.Sid = low.get();
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    if (!SetTokenInformation(token.get(), TokenIntegrityLevel, &label, sizeof(label) + GetLengthSid(low.get())))
        return nullptr;
    return token;
}

decoder::Identity DescribeOwnToken()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return {};
    const UniqueHandle token(raw);
    return DescribeToken(token.get());
}

decoder::Identity DescribeToken(HANDLE token)
{
    decoder::Identity id{};
    if (auto label = TokenInfo(token, TokenIntegrityLevel)) {
        PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label.get())->Label.Sid;
        if (const UCHAR count = *GetSidSubAuthorityCount(sid)) id.integrityRid = *GetSidSubAuthority(sid, count - 1);
    }
    const UniqueSid admins = AdministratorsSid();
    if (auto groups = TokenInfo(token, TokenGroups); groups && admins) {
        const auto* g = reinterpret_cast<TOKEN_GROUPS*>(groups.get());
        id.adminsDenyOnly = 1;  // also when the group is not there at all
        for (DWORD i = 0; i < g->GroupCount; ++i)
            if (EqualSid(g->Groups[i].Sid, admins.get()))
                id.adminsDenyOnly = (g->Groups[i].Attributes & SE_GROUP_USE_FOR_DENY_ONLY) ? 1 : 0;
    }
    if (auto privileges = TokenInfo(token, TokenPrivileges))
        id.privileges = reinterpret_cast<TOKEN_PRIVILEGES*>(privileges.get())->PrivilegeCount;
    return id;
}

} // namespace avcore
