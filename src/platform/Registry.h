#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Result codes of the registry calls; the numbers are the Win32 ones so that
// code written against them reads the same on every system.
enum RegStatus : long {
    RegSuccess = 0,
    RegFileNotFound = 2,
    RegAccessDenied = 5,
    RegInvalidHandle = 6,
    RegWriteFault = 29,
    RegCorrupt = 1015,
    RegKeyDeleted = 1018,
    RegMoreData = 234,
    RegNoMoreItems = 259,
};

enum class RootKey { CurrentUser, LocalMachine };

// Read = query values, Write = set values, EnumerateSubkeys = what a caller
// needs to delete a subkey.
enum class KeyAccess { Read, Write, EnumerateSubkeys };

using KeyHandle = std::uint32_t;

// The registry: string values (REG_SZ) in keys below two roots. Key paths and
// value names compare case-insensitively and keep the case they were created
// with, as on Windows. Every call returns a RegStatus.
class Registry {
public:
    virtual ~Registry() = default;

    // Opening a key that does not exist fails with RegFileNotFound.
    virtual long openKey(RootKey root, const QString& path, KeyAccess access, KeyHandle& handle) = 0;
    // Opens the key for writing, creating it and any missing parents.
    virtual long createKey(RootKey root, const QString& path, KeyHandle& handle) = 0;
    virtual long closeKey(KeyHandle handle) = 0;

    // The size in bytes of the value's data, terminating NUL included.
    virtual long queryValueSize(KeyHandle handle, const QString& name, std::uint32_t& size) = 0;
    // The value's text exactly as it was stored.
    virtual long queryValue(KeyHandle handle, const QString& name, QString& data) = 0;
    // Needs a handle opened for writing. A key deleted by someone else since
    // it was opened fails with RegKeyDeleted and is not recreated.
    virtual long setValue(KeyHandle handle, const QString& name, const QString& data) = 0;
    // The name of value number index; RegNoMoreItems past the last one,
    // RegMoreData when the name has bufferChars characters or more.
    virtual long enumValueName(KeyHandle handle, std::uint32_t index, std::uint32_t bufferChars,
                               QString& name) = 0;
    // Deletes a subkey that has no subkeys of its own, with all its values.
    virtual long deleteKey(KeyHandle parent, const QString& subkey) = 0;

    // Groups the changes that follow (creating keys, setting values,
    // deleting keys) into one: until commitTransaction() only this caller
    // sees them, and then they reach the store together, so that neither a
    // crash nor another process ever sees part of them. No nesting.
    virtual long beginTransaction() = 0;
    // Stores the grouped changes; when that fails, none of them is stored.
    virtual long commitTransaction() = 0;
    // Drops the grouped changes.
    virtual void rollbackTransaction() = 0;

    // Describes a damaged settings store that was set aside (kept, renamed)
    // since the last call, so that the program can tell the user; empty when
    // nothing happened.
    virtual QString takeDamageReport() = 0;
};

} // namespace platform
