// Reading an input file whole, with a ceiling on its size, and saying in a few words
// what is wrong with a path that cannot be read or written.
#pragma once
#include <cstddef>
#include <string>

// Reads what `path` names into `bytes`, if it holds at most `limit` bytes. Returns "" on
// success, else what stopped it, in a few words for a message ("no such file", "a
// folder", "longer than 4194304 bytes", ...). A folder is always refused; with
// `filesOnly` so are pipes and devices, else they are read until they end or pass the limit.
std::string ReadInputFile(const std::string& path, size_t limit, bool filesOnly, std::string& bytes);
// The same from a descriptor already open (standard input).
std::string ReadInputDescriptor(int fd, size_t limit, std::string& bytes);
// "" when `path` can be created or replaced as a file, else why not ("no such folder",
// "a folder", "permission denied", ...). Nothing is created.
std::string WhyNotWritable(const std::string& path);
// What a path names, for a refusal: "a folder", "a pipe", "a device", "a socket"; "" for a
// plain file; "no such file" (or why it cannot be looked at) when it cannot be found.
std::string WhatIsThere(const std::string& path);
// Whether two paths name the same file: the same file when both are there, else the same
// place once links and "." and ".." are followed.
bool SameFile(const std::string& a, const std::string& b);
