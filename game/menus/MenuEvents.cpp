#include "game/menus/MenuEvents.h"

#include <algorithm>

void MenuEvents::Raise(const List& list, MenuEventRecord& event)
{
    // A callback may register or remove callbacks: walk a copy.
    const List callbacks = list;
    for (auto it = callbacks.rbegin(); it != callbacks.rend() && !event.handled; ++it)
        (*it)(event);
}

void MenuEvents::Raise(const List& list)
{
    MenuEventRecord event;
    Raise(list, event);
}

void MenuEvents::AddOnce(List& list, Callback callback)
{
    if (std::find(list.begin(), list.end(), callback) == list.end())
        list.push_back(callback);
}

void MenuEvents::ClearAll()
{
    for (List* list : {&ReturnToTitle, &StartMatch, &StartTutorial, &LanguageChanged})
        list->clear();
}

void MenuEvents::Remove(List& list, Callback callback)
{
    list.erase(std::remove(list.begin(), list.end(), callback), list.end());
}
