#include "updateserver/UpdateTree.h"

#include "device/DeviceCatalogue.h"
#include "device/VersionInfo.h"
#include "update/AppUpdateInfo.h"
#include "update/DownloadChecks.h"
#include "update/UpdateInfoParser.h"
#include "update/UpdateUrls.h"
#include "updateserver/UpdateServer.h"

namespace UpdateTree
{
namespace
{
const DeviceRow& rowOf(int device)
{
    static const auto rows = DeviceCatalogue::rows({}, {});
    return rows[(size_t) device];
}

juce::File channelFolder(const juce::File& root, bool beta)
{
    return root.getChildFile(juce::String(beta ? UpdateServer::kBetaPath : UpdateServer::kReleasePath).substring(1));
}

juce::String changelogText(const juce::String& name, const juce::String& version)
{
    return name + " " + version + "\r\n\r\n" + "- Faster start-up.\r\n" + "- Fixed a rare crackle when switching presets.\r\n";
}

void writeText(const juce::File& file, const juce::String& text)
{
    file.getParentDirectory().createDirectory();
    file.replaceWithText(text, false, false, nullptr);
}

void writeFirmware(const juce::File& root, const Spec& spec, const FirmwareRelease& release, bool beta, Tree& tree)
{
    const auto& row = rowOf(release.device);
    const auto folder = channelFolder(root, beta);
    const auto image = (spec.imageBuilder ? spec.imageBuilder : defaultImage)(release.device, release.version, release.imageSize);
    const Published published { release.device, beta, release.version, row.updateFile,
                                row.updateFile.upToLastOccurrenceOf(".", false, false) + "_"
                                    + VersionInfo(release.version).toShortString() + ".bin",
                                (int) image.getSize(), DownloadChecks::Md5Hex(image) };

    folder.getChildFile(published.file).replaceWithData(image.getData(), image.getSize());
    writeText(folder.getChildFile(row.updateFile), infoFileText(juce::String(UpdateInfo::kHeader) + "]", published));
    writeText(folder.getChildFile(row.changelogFile), changelogText(row.name, release.version));
    tree.files.push_back(published);
}

void writeApplication(const juce::File& root, const Spec& spec, const juce::String& version, bool beta, Tree& tree)
{
    const auto folder = channelFolder(root, beta);
    const auto installer = defaultImage(kApplication, version, spec.installerSize);
    const juce::String name = AppUpdateInfo::kServerName;
    const Published published { kApplication, beta, version, name + ".win.update",
                                name + "_" + VersionInfo(version).toShortString() + "_setup.exe",
                                (int) installer.getSize(), DownloadChecks::Md5Hex(installer) };

    folder.getChildFile(published.file).replaceWithData(installer.getData(), installer.getSize());
    writeText(folder.getChildFile(published.infoFile), infoFileText("[" + name + " Update]", published));
    writeText(folder.getChildFile(name + ".changelog"), changelogText(name, version));
    tree.files.push_back(published);
}
}

void writeReferences(const juce::File& root, const juce::String& docBaseUrl)
{
    for (int device = 1; device < DeviceCatalogue::kDeviceCount; ++device)
    {
        const auto page = DeviceKeyName(rowOf(device).name) + ".html";
        writeText(root.getChildFile("docs").getChildFile(page), "<html><body>" + rowOf(device).name + " manual</body></html>");
        for (const bool beta : { false, true })
            writeText(channelFolder(root, beta).getChildFile(DeviceCatalogue::refFile(device, beta)),
                      docBaseUrl + "docs/" + page);
    }
}

Spec Spec::standard(const juce::String& docBaseUrl)
{
    Spec spec;
    spec.docBaseUrl = docBaseUrl;
    spec.release = { { 1, "v1.05.000.0.master.20240301120000", 65536 + 1000 },
                     { 2, "v1.02.003.0.master.20240215093000", 98304 },
                     { 3, "v1.01.050.0.master.20240110170000", 131072 + 300 } };
    spec.beta = { { 1, "v1.06.002.0.beta.20240320101500", 70000 } };
    spec.appVersion = "v1.05.000.0.master.20240305180000";
    spec.installerSize = 204800;
    spec.debugKey = "hv-debug-7c41e0";
    spec.betaKey = "hv-beta-19d2aa";
    return spec;
}

const Published* Tree::find(int device, bool beta) const
{
    for (const auto& published : files)
        if (published.device == device && published.beta == beta)
            return &published;
    return nullptr;
}

Tree write(const juce::File& root, const Spec& spec)
{
    Tree tree;
    channelFolder(root, true).createDirectory();
    for (const auto& release : spec.release)
        writeFirmware(root, spec, release, false, tree);
    for (const auto& release : spec.beta)
        writeFirmware(root, spec, release, true, tree);
    if (spec.appVersion.isNotEmpty())
        writeApplication(root, spec, spec.appVersion, false, tree);
    if (spec.appBetaVersion.isNotEmpty())
        writeApplication(root, spec, spec.appBetaVersion, true, tree);
    writeReferences(root, spec.docBaseUrl);
    writeText(channelFolder(root, true).getChildFile(UpdateUrls::kDebugKeyFile), spec.debugKey + "\r\n");
    writeText(channelFolder(root, true).getChildFile(UpdateUrls::kBetaKeyFile), spec.betaKey + "\r\n");
    return tree;
}

juce::MemoryBlock defaultImage(int device, const juce::String& version, int size)
{
    juce::MemoryBlock image((size_t) juce::jmax(0, size));
    juce::Random random((juce::int64) version.hashCode64() ^ device);
    auto* bytes = static_cast<uint8_t*>(image.getData());
    for (size_t i = 0; i < image.getSize(); ++i)
        bytes[i] = (uint8_t) random.nextInt(256);
    image.copyFrom(version.toRawUTF8(), 0, juce::jmin(image.getSize(), version.getNumBytesAsUTF8()));
    return image;
}

juce::String infoFileText(const juce::String& header, const Published& published)
{
    return header + "\r\n" + published.version + "\r\n" + "File:" + published.file + "\r\n" + "Size:"
           + juce::String(published.size) + "\r\n" + "MD5:" + published.md5 + "\r\n" + "EOF" + "\r\n";
}
}
