#ifndef PERMISSIONS_OBEYED_H
#define PERMISSIONS_OBEYED_H

#include <linux/capability.h>

// Holds the calling thread to the permissions of files and folders, as
// they hold an ordinary user, while it lives: for root, by setting aside
// the thread's powers to override them (and taking them back after). An
// ordinary user is held to them anyway.
class PermissionsObeyed
{
public:
    PermissionsObeyed();
    ~PermissionsObeyed();
    PermissionsObeyed(const PermissionsObeyed &) = delete;
    PermissionsObeyed &operator=(const PermissionsObeyed &) = delete;

    // False when root's powers could not be set aside.
    bool isHeld() const { return m_held; }

private:
    bool m_held = false;
    bool m_setAside = false;
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
};

#endif
