#include "update/AppUpdateInfo.h"

#include "update/UpdateTextLines.h"

namespace AppUpdateInfo
{
bool HasHeader(const juce::String& body)
{
    return body.startsWithIgnoreCase(juce::String("[") + kServerName + " Update");
}

Record ParseAppUpdateInfo(const juce::String& text)
{
    UpdateTextLines reader(text);
    reader.next();
    Record record;
    record.version = VersionInfo(reader.next());
    record.file = UpdateText::afterFirstColon(reader.next());
    record.size = UpdateText::leadingDecimal(UpdateText::afterFirstColon(reader.next()));
    record.md5 = UpdateText::afterFirstColon(reader.next());
    return record;
}
}
