#include "permissions_obeyed.h"

#include <sys/syscall.h>
#include <unistd.h>

PermissionsObeyed::PermissionsObeyed()
{
    if (geteuid() != 0) {
        m_held = true;
        return;
    }
    m_header.version = _LINUX_CAPABILITY_VERSION_3;
    m_header.pid = 0; // this thread
    if (syscall(SYS_capget, &m_header, m_saved) != 0)
        return;
    __user_cap_data_struct held[2] = {m_saved[0], m_saved[1]};
    held[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH)
                           | (1u << CAP_FOWNER));
    m_setAside = m_held = syscall(SYS_capset, &m_header, held) == 0;
}

PermissionsObeyed::PermissionsObeyed(uid_t uid, gid_t gid, const std::vector<gid_t> &groups)
{
    if (geteuid() != 0)
        return;
    m_header.version = _LINUX_CAPABILITY_VERSION_3;
    m_header.pid = 0;
    if (syscall(SYS_capget, &m_header, m_saved) != 0)
        return;
    // The raw calls change this thread's ids alone; the C library's would
    // change every thread's.
    m_groups.resize(size_t(syscall(SYS_getgroups, 0, nullptr)));
    if (syscall(SYS_getgroups, m_groups.size(), m_groups.data()) != long(m_groups.size()))
        return;
    if (syscall(SYS_setgroups, groups.size(), groups.data()) != 0)
        return;
    syscall(SYS_setfsgid, gid);
    syscall(SYS_setfsuid, uid);
    m_actingAs = m_setAside = true;
    // Taking on another user's file ids sets aside root's powers over
    // files; reading and searching are given back.
    __user_cap_data_struct held[2] = {m_saved[0], m_saved[1]};
    held[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_FOWNER) | (1u << CAP_CHOWN)
                           | (1u << CAP_FSETID));
    m_held = syscall(SYS_setfsuid, -1) == long(uid) && syscall(SYS_setfsgid, -1) == long(gid)
             && syscall(SYS_capset, &m_header, held) == 0;
}

PermissionsObeyed::~PermissionsObeyed()
{
    if (m_actingAs) {
        syscall(SYS_setfsuid, 0);
        syscall(SYS_setfsgid, 0);
        syscall(SYS_setgroups, m_groups.size(), m_groups.data());
    }
    if (m_setAside)
        syscall(SYS_capset, &m_header, m_saved);
}
