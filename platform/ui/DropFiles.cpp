#include "platform/ui/DropFiles.h"

#include <cstring>

struct DropObject {
    std::vector<std::string> paths;
};

HDROP CreateDrop(std::vector<std::string> paths)
{
    return new DropObject{std::move(paths)};
}

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size)
{
    if (!drop)
        return 0;
    if (index == 0xFFFFFFFF)
        return static_cast<UINT>(drop->paths.size());
    if (index >= drop->paths.size())
        return 0;
    const std::string& path = drop->paths[index];
    if (!buffer)
        return static_cast<UINT>(path.size());
    if (size == 0)
        return 0;
    if (path.size() + 1 > size) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<UINT>(path.size());
}

void DragFinish(HDROP drop)
{
    delete drop;
}
