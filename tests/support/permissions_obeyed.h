#ifndef PERMISSIONS_OBEYED_H
#define PERMISSIONS_OBEYED_H

#include <linux/capability.h>
#include <sys/types.h>

#include <vector>

// Holds the calling thread to the permissions of files and folders, as
// they hold an ordinary user, while it lives: for root, by setting aside
// the thread's powers to override them (and taking them back after). An
// ordinary user is held to them anyway.
class PermissionsObeyed
{
public:
    PermissionsObeyed();
    // Held as the user uid, of the group gid and the further groups, is
    // held, and making files as theirs: for root, by taking on that user's
    // file ids in this thread. Folders stay open to read and search, so
    // that a test's own private folders need not be opened up for them.
    PermissionsObeyed(uid_t uid, gid_t gid, const std::vector<gid_t> &groups);
    ~PermissionsObeyed();
    PermissionsObeyed(const PermissionsObeyed &) = delete;
    PermissionsObeyed &operator=(const PermissionsObeyed &) = delete;

    // False when root's powers could not be set aside.
    bool isHeld() const { return m_held; }

private:
    bool m_held = false;
    bool m_setAside = false;
    bool m_actingAs = false;
    std::vector<gid_t> m_groups;
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
};

#endif
