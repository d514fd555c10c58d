#include "tevrin/ui/drop_files_handle.h"

#include <shellapi.h>

DropFilesHandle::~DropFilesHandle()
{
    if (handle)
        DragFinish(handle);
}
