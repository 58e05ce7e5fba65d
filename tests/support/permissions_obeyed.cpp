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

PermissionsObeyed::~PermissionsObeyed()
{
    if (m_setAside)
        syscall(SYS_capset, &m_header, m_saved);
}
