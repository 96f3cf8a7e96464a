#pragma once

#include <cstddef>
#include <string>

namespace kz {

// The small files the program keeps of its own (settings, records): read without ever
// waiting on what is not a regular file, and replaced as a whole or not at all.

enum class FileState { Missing, Read, Unusable };

struct FileContents {
    FileState state = FileState::Unusable;
    std::string text;
};

// Reads a regular file of at most largest bytes. Anything else in its place (a pipe, a
// device, a directory, a far larger file) is Unusable and is never opened in a way that
// waits.
FileContents readRegularFile(const std::string& path, size_t largest);

// Replaces the file through a temporary file beside it, flushed to the disk and renamed
// over it, so neither a crash nor a signal ever leaves half a file; the folders on the way
// are made as needed. A symbolic link is written through: the file it points at is
// replaced and the link stays. Anything but a regular file in the way is left alone, and
// so is the old file when the write fails. Durable also flushes the folder, so the new
// file outlives a power cut right after the call.
bool replaceRegularFile(const std::string& path, const std::string& text, bool durable);

}  // namespace kz
