#include "presets/PresetBank.h"

PresetBank::PresetBank(Owner* bankOwner) : owner(bankOwner)
{
    for (auto& slot : slots)
        slot.Init(this, Preset::kUnreadModel);
}

Preset* PresetBank::GetSlot(int i)
{
    return (i >= 0 && i < kSlotCount) ? &slots[static_cast<size_t>(i)] : nullptr;
}

Preset* PresetBank::GetLibraryPreset(int i)
{
    return (i >= 0 && static_cast<size_t>(i) < library.size()) ? &library[static_cast<size_t>(i)] : nullptr;
}

Preset* PresetBank::GetCurrentSlot()
{
    return GetSlot(cursor);
}

int PresetBank::CountModified() const
{
    int count = 0;
    for (const auto& slot : slots)
        count += slot.modified ? 1 : 0;
    return count;
}

void PresetBank::MarkAllReadPending()
{
    for (auto& slot : slots)
        slot.readPending = true;
}

bool PresetBank::NextReadPending()
{
    for (++cursor; cursor < kSlotCount; ++cursor)
        if (slots[static_cast<size_t>(cursor)].readPending)
            return true;
    cursor = 0;
    return false;
}

bool PresetBank::NextModified()
{
    if (auto* current = GetCurrentSlot())
        current->ClearModified();
    for (++cursor; cursor < kSlotCount; ++cursor)
        if (slots[static_cast<size_t>(cursor)].modified)
            return true;
    modified = false;
    cursor = 0;
    return false;
}

void PresetBank::MoveSlot(int from, int to)
{
    if (GetSlot(from) == nullptr || GetSlot(to) == nullptr || from == to)
        return;
    const Preset moving = slots[static_cast<size_t>(from)];
    const int step = from < to ? 1 : -1;
    for (int i = from; i != to; i += step)
        slots[static_cast<size_t>(i)].CopyFrom(slots[static_cast<size_t>(i + step)]);
    slots[static_cast<size_t>(to)].CopyFrom(moving);
}
