#pragma once
#include <string>

namespace Engine::Platform {

// A temporary file beside `target`, made by this call alone (O_EXCL, which
// also refuses a link standing in the name) under a name no one can guess:
// a file someone else put there first, as another user may in a shared
// folder, is never written into nor renamed into place with its owner and
// mode. Readable by its user alone: permissions are checked when a file is
// opened, so another user who opened it under a wider mode could read, on
// that handle, whatever is written into it later. Returns the open file, or
// -1 with errno set.
int CreatePrivateTemporary(const std::string& target, std::string& temporary);

// Gives the filled temporary the group and mode it must have in the
// target's place: those of the file it replaces, else the mode of any new
// file of the user's (0666 under the umask). False with errno set.
bool TakeTheTargetsPermissions(int file, const std::string& target);

} // namespace Engine::Platform
