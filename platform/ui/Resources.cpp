#include "platform/ui/Resources.h"

#include <type_traits>

namespace {

HINSTANCE& Current()
{
    static HINSTANCE module = nullptr;
    return module;
}

HINSTANCE Resolve(HINSTANCE module)
{
    return module ? module : Current();
}

}  // namespace

void SetResourceModule(HINSTANCE module)
{
    Current() = module;
}

HINSTANCE GetResourceModule()
{
    return Current();
}

namespace {

// The first resource of the list that matches, in a module (null: the current one).
template <class Resource, class List, class Matches>
const Resource* Find(HINSTANCE module, List ResourceModule::*list, Matches matches)
{
    if (!(module = Resolve(module)))
        return nullptr;
    for (const auto& entry : module->*list) {
        const Resource& resource = *[&] {
            if constexpr (std::is_pointer_v<std::decay_t<decltype(entry)>>)
                return entry;
            else
                return &entry;
        }();
        if (matches(resource))
            return &resource;
    }
    return nullptr;
}

}  // namespace

const DialogResource* FindDialogResource(HINSTANCE module, int id)
{
    return Find<DialogResource>(module, &ResourceModule::dialogs,
                                [id](const DialogResource& dialog) { return dialog.id == id; });
}

const MenuResource* FindMenuResource(HINSTANCE module, int id)
{
    return Find<MenuResource>(module, &ResourceModule::menus,
                              [id](const MenuResource& menu) { return menu.id == id; });
}

const ImageResource* FindImageResource(HINSTANCE module, int id, ImageKind kind)
{
    return Find<ImageResource>(module, &ResourceModule::images, [=](const ImageResource& image) {
        return image.id == id && image.kind == kind;
    });
}
