// The registry's text file: REGEDIT4, readable and editable by people.
//
//   REGEDIT4
//
//   ; a comment
//   [HKEY_CURRENT_USER\Software\Maker\Program]
//   "Number"=dword:0000000a
//   "Text"="say \"hi\" \\ bye"
//   "Bytes"=hex:01,02,ff
//   "Other"=hex(7):41,00,00,00
//   @="the key's unnamed value"
//
// Reading never fails: a line that cannot be read (garbage, a bad dword, a cut-off line) is passed
// over and its value reads as absent; the values under a key line that cannot be read are passed
// over with it, so they are not taken for values of the key before. Comments and the lines passed
// over are kept where they stood and written out again, so a person's notes and mistakes survive.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/system.h"

namespace platform {

struct RegistryData {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;

    bool operator==(const RegistryData&) const = default;
};

// Names compare without regard to (ASCII) case, as the registry's do.
bool same_name(std::string_view a, std::string_view b);

// Lines kept as they were, each with the number of entries (values of a key, or keys of the
// document) written before it.
using KeptLines = std::vector<std::pair<std::size_t, std::string>>;

struct RegistryKey {
    using Values = std::vector<std::pair<std::string, RegistryData>>;

    std::string path;  // "HKEY_CURRENT_USER\Software\...", as written in the file

    // In file order; "" is the unnamed value.
    const Values& values() const { return values_; }
    const RegistryData* find(std::string_view name) const;
    void set(std::string_view name, RegistryData data);
    bool erase(std::string_view name);
    const KeptLines& kept() const { return kept_; }
    void keep(std::string_view line) { kept_.emplace_back(values_.size(), line); }

private:
    Values values_;
    KeptLines kept_;
    std::unordered_map<std::string, std::size_t> index_;  // case-folded name -> position in values_
};

struct RegistryDocument {
    // In file order, each path once.
    const std::vector<RegistryKey>& keys() const { return keys_; }
    const RegistryKey* find(std::string_view path) const;
    RegistryKey* find(std::string_view path);
    // The key at `path`, added at the end when it is not there.
    RegistryKey& make(std::string_view path);
    // Whether `path` is a key: one of the document's, or a folder on the way to one.
    bool has(std::string_view path) const;
    // Lines outside any key: before the first, or under a key line that could not be read.
    const KeptLines& kept() const { return kept_; }
    void keep(std::string_view line) { kept_.emplace_back(keys_.size(), line); }

private:
    std::vector<RegistryKey> keys_;
    KeptLines kept_;
    std::unordered_map<std::string, std::size_t> index_;  // case-folded path -> position in keys_
};

RegistryDocument parse_registry(std::string_view text);
std::string format_registry(const RegistryDocument& document);

}  // namespace platform
