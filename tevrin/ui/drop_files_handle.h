#pragma once
// Owns the drop handle of one WM_DROPFILES message and finishes it when done.
#include <windows.h>
#include <shellapi.h>

class DropFilesHandle {
public:
    explicit DropFilesHandle(HDROP drop) : handle(drop) {}
    virtual ~DropFilesHandle();
    DropFilesHandle(const DropFilesHandle&) = delete;
    DropFilesHandle& operator=(const DropFilesHandle&) = delete;

    HDROP Get() const { return handle; }

private:
    HDROP handle;
};
