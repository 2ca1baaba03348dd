#include "update/UpdateInfoParser.h"

#include "update/UpdateTextLines.h"

#include <array>

namespace UpdateInfo
{
namespace
{
constexpr int kFileLabelLength = 5;  // "File:"
constexpr int kSizeLabelLength = 5;  // "Size:"
constexpr int kMd5LabelLength = 4;   // "MD5:"

bool hasStrictLayout(const std::array<juce::String, 5>& lines, const juce::String& rest)
{
    return lines[0].startsWith(kHeader) && lines[2].startsWith("File:") && lines[3].startsWith("Size:")
           && lines[4].startsWith("MD5:") && rest.startsWith("EOF");
}

void takeFieldLine(UpdateInfoFields& fields, const juce::String& line)
{
    if (line.startsWith("File:"))
    {
        fields.imageFile = line.substring(kFileLabelLength);
        fields.logLines.add("FILE [" + fields.imageFile + "]");
    }
    else if (line.startsWith("Size:"))
    {
        fields.size = UpdateText::leadingDecimal(line.substring(kSizeLabelLength));
        fields.logLines.add("SIZE [" + juce::String(fields.size) + "]");
    }
    else if (line.startsWith("MD5:"))
    {
        fields.md5 = line.substring(kMd5LabelLength);
        fields.logLines.add("MD5 [" + fields.md5 + "]");
    }
    else
    {
        fields.logLines.add("unknown [" + line + "]");
    }
}
}

std::optional<AvailableUpdate> ParseAvailableUpdate(const juce::String& text)
{
    UpdateTextLines reader(text);
    std::array<juce::String, 5> lines;
    for (auto& line : lines)
        line = reader.next();
    if (!hasStrictLayout(lines, reader.rest()))
        return std::nullopt;

    AvailableUpdate update;
    update.version = VersionInfo(lines[1]);
    update.file = UpdateText::afterFirstColon(lines[2]);
    update.size = UpdateText::leadingDecimal(UpdateText::afterFirstColon(lines[3]));
    update.md5 = UpdateText::afterFirstColon(lines[4]);
    return update;
}

UpdateInfoFields ParseUpdateInfo(const juce::String& body)
{
    UpdateInfoFields fields;
    UpdateTextLines reader(body);
    fields.header = reader.next();
    fields.logLines.add("header:" + fields.header);
    fields.version = reader.next();
    fields.logLines.add("version:" + fields.version);

    while (!reader.atEnd())
    {
        const auto line = reader.next();
        if (line == "EOF")
        {
            fields.endedAtEof = true;
            break;
        }
        takeFieldLine(fields, line);
    }
    return fields;
}

Response ClassifyResponse(int statusCode, const juce::String& body)
{
    if (body.isEmpty())
        return Response::NoBody;
    if (statusCode == 404)
        return Response::NotFound;
    if (statusCode != 200)
        return Response::ServerError;
    if (body.startsWith(kOldVersionHeader))
        return Response::OldVersion;
    if (body.startsWith(kHeader))
        return Response::UpdateInfo;
    return Response::Unintelligible;
}

OldVersionNotice SplitOldVersion(const juce::String& body)
{
    UpdateTextLines reader(body);
    OldVersionNotice notice;
    notice.header = reader.next();
    notice.message = reader.rest();
    return notice;
}
}
