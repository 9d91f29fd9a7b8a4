#pragma once

#include <QString>
#include <functional>

// File operations that survive a crash or a power cut at any moment: data reaches the disk
// before a name points at it, and a file is replaced only by renaming a complete copy over
// it. Failures raise DbError with a message naming the file and the system's reason.

// The name a new copy of target is written under before it replaces target (same folder,
// so that the rename cannot cross file systems).
QString PartialNameOf(const QString &target);

// Forces a file's data, or a folder's entries, to the disk.
void SyncFile(const QString &path);
void SyncFolderOf(const QString &path);

// Renames from to to, replacing to when it exists, and makes the rename durable.
void RenameDurably(const QString &from, const QString &to);

// Deletes a file when it exists; raises when it exists and stays.
void RemoveIfExists(const QString &path);

// Copies from into the new file to (replacing a leftover one), synced to the disk.
// afterChunk, when given, runs after each written megabyte with the bytes written so far.
void CopyFileSynced(const QString &from, const QString &to,
                    const std::function<void(qint64)> &afterChunk = {});
