// Files the program writes whole (reports, pictures, run history): checked
// before the work that produces them, then written to a temporary file in the
// same folder and renamed over the target, so that a reader never sees half
// a file and a failed write leaves the earlier file as it was.
#pragma once

#include <string>

namespace vm {

// The folder `path` is in: "." for a bare name, "/" for one in the root.
std::string FolderOf(const std::string& path);

// The file that writing `path` replaces: the path, or the target of the link
// it is (links followed to the end). Empty for a link to nothing.
std::string WrittenFile(const std::string& path);

// Empty when `path` can take a new file: its folder exists and can be
// written to, and the path names nothing but a regular file (no directory,
// FIFO or device) that may be written. Otherwise why not, naming the path.
std::string CheckOutputPath(const std::string& path);

// Writes `content` to `path` through a temporary file in the same folder,
// flushed to disk and renamed over it (a link: over its target, through a
// temporary file in the target's folder, so the link stays). False with the reason in `error`: the
// target is then untouched and no temporary file is left. A file replaced
// keeps its permissions; a new one gets the usual ones (0666 less umask).
bool ReplaceFile(const std::string& path, const std::string& content, std::string& error);

// True when both paths exist and name the same file (device and inode),
// however they are spelt.
bool SameFile(const std::string& a, const std::string& b);

// True when writing `a` would write `b`: the same file, or, where one does not
// exist yet, the same name in the same folder (links in the folders followed).
bool SamePlace(const std::string& a, const std::string& b);

}  // namespace vm
