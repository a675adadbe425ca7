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

// Removes a folder PrivateFolder gave, with all in it, never through a link: a link inside is
// removed itself, and where the name is no longer our private folder (a link put in its place,
// a folder of someone else) nothing is removed at all. False when something stayed.
bool RemovePrivateFolder(const QString& path);
