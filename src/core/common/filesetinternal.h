// The pieces the file set's units share: disk steps, small reads, the commit record and its settling.
#pragma once

#include "common/fileset.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorv::common::filesetinternal {

namespace fs = std::filesystem;

// Tells the test hook that a step which changes or syncs the disk comes next.
void step(FsStep s);

fs::path folderOf(const fs::path &path);
std::uint64_t fnv1a64(std::string_view bytes);
std::string hex16(std::uint64_t v);

bool writeAll(int fd, const std::uint8_t *data, std::size_t size, int &err);
int syncFolder(const fs::path &dir);

// A commit record is a few hundred bytes; anything larger under its name is not ours.
constexpr std::size_t kMaxRecordSize = 64 * 1024;

bool readFrom(int fd, std::string &out, std::size_t limit, int &err);
bool readAll(const fs::path &path, std::string &out, int &err);

struct RenamePair {
    fs::path temp;
    fs::path target;
};

std::string encodeRecord(const std::vector<RenamePair> &pairs, const fs::path &dir);

// Which targets a commit record may name.
using TargetRule = std::function<bool(const fs::path &)>;

fs::path comparable(const fs::path &path);

// What settleRecord found when the folder may not be written.
struct Unfinished {
    bool any = false;
    std::vector<RenamePair> pending; // pairs whose temporary still waits
};

Result settleRecord(const fs::path &record, const fs::path &dir, const TargetRule &allowed, std::string &notice,
    Unfinished *unfinished = nullptr);

// How long a save waits for the folder's commit lock, and a reader for a save's commit.
constexpr int kFolderWaitMs = 10000;

} // namespace zorv::common::filesetinternal
