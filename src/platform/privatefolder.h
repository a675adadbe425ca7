#pragma once

#include <QString>

// Folders that belong to this user alone: no other local user can read what is put there, nor
// plant a file or a link in their place before we use them.

// The user's runtime folder: $XDG_RUNTIME_DIR, or one of our own in the shared temp folder.
// Empty when neither can be had.
QString UserRuntimeFolder();

// `name` inside the user's runtime folder, made when missing. A name someone else prepared (a
// link, a folder that is not ours or that others may enter) is never used: a fresh folder with a
// unique name takes its place. Empty when no private folder can be made.
QString PrivateFolder(const QString& name);
