// The registry calls over HKEY_CURRENT_USER, kept in the store's file.
#include <cstring>
#include <cwchar>
#include <memory>

#include "core/handles.h"
#include "core/utf8.h"
#include "platform/system.h"
#include "system/registry_store.h"

namespace platform {
namespace {

constexpr std::string_view kCurrentUser = "HKEY_CURRENT_USER";
// Longer key paths and value names than the registry allows are refused unread.
constexpr std::size_t kLongestName = 16383;

struct OpenKey {
    std::string path;
    // The key's values as the file held them when the key was opened, or after this handle's
    // last change: a person's edit of the file is seen by the next open.
    RegistryKey values;
};

HandleTable<OpenKey>& open_keys() {
    static HandleTable<OpenKey> table(HandleKind::Key);
    return table;
}

// A name the file can hold: no control characters, which would break its lines.
std::optional<std::string> name_in_file(LPCWSTR name) {
    if (!name) return std::string();
    const std::size_t length = wcsnlen(name, kLongestName + 1);
    if (length > kLongestName) return std::nullopt;
    for (std::size_t i = 0; i < length; ++i)
        if (name[i] < 0x20 || name[i] == 0x7F) return std::nullopt;
    return wide_to_utf8(std::wstring_view(name, length));
}

std::optional<std::string> path_of(HKEY key) {
    if (key == HKEY_CURRENT_USER) return std::string(kCurrentUser);
    const OpenKey* open = open_keys().find(raw(key));
    if (!open) return std::nullopt;
    return open->path;
}

// The path of `sub_key` under `root`. Folders are separated by single backslashes; a trailing one
// is allowed, a leading one or an empty folder name is not.
LONG join_path(HKEY root, LPCWSTR sub_key, std::string* path) {
    const auto base = path_of(root);
    if (!base) return ERROR_INVALID_HANDLE;
    auto sub = name_in_file(sub_key);
    if (!sub) return ERROR_INVALID_PARAMETER;
    while (!sub->empty() && sub->back() == '\\') sub->pop_back();
    if (!sub->empty() && (sub->front() == '\\' || sub->find("\\\\") != std::string::npos)) return ERROR_INVALID_PARAMETER;
    *path = sub->empty() ? *base : *base + "\\" + *sub;
    return ERROR_SUCCESS;
}

bool key_exists(const RegistryDocument& document, const std::string& path) {
    return same_name(path, kCurrentUser) || document.has(path);
}

LONG hand_out(const std::string& path, const RegistryDocument& document, HKEY* result) {
    auto open = std::make_unique<OpenKey>();
    open->path = path;
    if (const RegistryKey* key = document.find(path)) open->values = *key;
    *result = as_handle<HKEY>(open_keys().add(std::move(open)));
    return ERROR_SUCCESS;
}

// The values of an open key; the root's are read afresh, since it has no handle to hold them.
std::optional<RegistryKey> values_of(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        const RegistryDocument document = registry_read();
        const RegistryKey* root = document.find(kCurrentUser);
        return root ? *root : RegistryKey{};
    }
    const OpenKey* open = open_keys().find(raw(key));
    if (!open) return std::nullopt;
    return open->values;
}

// Applies `change` to the key's values on disk, and keeps the handle's view of them up to date.
LONG change_values(HKEY key, const std::function<LONG(RegistryKey&)>& change, bool create_key) {
    const auto path = path_of(key);
    if (!path) return ERROR_INVALID_HANDLE;
    RegistryDocument after;
    const LONG result = registry_update(
        [&](RegistryDocument& document) {
            RegistryKey* values = create_key ? &document.make(*path) : document.find(*path);
            return values ? change(*values) : ERROR_FILE_NOT_FOUND;
        },
        &after);
    if (result != ERROR_SUCCESS) return result;
    if (OpenKey* open = open_keys().find(raw(key)))
        if (const RegistryKey* values = after.find(*path)) open->values = *values;
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace platform

using namespace platform;

LONG RegCreateKeyExW(HKEY root, LPCWSTR subKey, DWORD, LPWSTR, DWORD, DWORD, SECURITY_ATTRIBUTES*, HKEY* result,
                     DWORD* disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::string path;
    if (const LONG error = join_path(root, subKey, &path)) return error;
    RegistryDocument document = registry_read();
    bool created = false;
    if (!key_exists(document, path)) {
        const LONG error = registry_update(
            [&](RegistryDocument& current) {
                created = !key_exists(current, path);
                if (created) current.make(path);
                return ERROR_SUCCESS;
            },
            &document);
        if (error != ERROR_SUCCESS) return error;
    }
    if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return hand_out(path, document, result);
}

LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    if (!data && size > 0) return ERROR_INVALID_PARAMETER;
    const auto value_name = name_in_file(name);
    if (!value_name) return ERROR_INVALID_PARAMETER;
    RegistryData value{type, std::vector<BYTE>(data, data + size)};
    return change_values(
        key,
        [&](RegistryKey& values) {
            values.set(*value_name, std::move(value));
            return ERROR_SUCCESS;
        },
        true);
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) {
    if (reserved || (data && !size)) return ERROR_INVALID_PARAMETER;
    const auto values = values_of(key);
    if (!values) return ERROR_INVALID_HANDLE;
    const auto value_name = name_in_file(name);
    const RegistryData* value = value_name ? values->find(*value_name) : nullptr;
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type) *type = value->type;
    if (!size) return ERROR_SUCCESS;
    const auto needed = static_cast<DWORD>(value->bytes.size());
    const bool fits = *size >= needed;
    *size = needed;
    if (!data) return ERROR_SUCCESS;
    if (!fits) return ERROR_MORE_DATA;
    std::memcpy(data, value->bytes.data(), needed);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    if (key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
    return open_keys().remove(raw(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
