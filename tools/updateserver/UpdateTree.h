#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <vector>

// Writes a folder tree the local update server can serve: per pedal model and channel the
// update-information file, changelog, reference file and image; the application's update file,
// changelog and installer; the key files on the beta server; documentation pages. Sizes and
// digests in the information files always match the bytes written, so any mismatch a test sees
// comes from an injected fault.
namespace UpdateTree
{
    inline constexpr int kApplication = 0;  // `device` of the application's own files

    struct FirmwareRelease
    {
        int device;  // 1 to 3
        juce::String version;
        int imageSize;
    };

    using ImageBuilder = std::function<juce::MemoryBlock(int device, const juce::String& version, int size)>;

    struct Spec
    {
        juce::String docBaseUrl;  // the reference files point at <docBaseUrl>docs/<model>.html
        std::vector<FirmwareRelease> release;
        std::vector<FirmwareRelease> beta;
        juce::String appVersion;
        int installerSize = 0;
        juce::String appBetaVersion;  // empty: no application files on the beta server
        juce::String debugKey;
        juce::String betaKey;
        ImageBuilder imageBuilder;  // empty: `defaultImage`

        // All three models on release, the Nimbrel also on beta, the application on release only.
        static Spec standard(const juce::String& docBaseUrl);
    };

    struct Published
    {
        int device;
        bool beta;
        juce::String version;
        juce::String infoFile;   // the update-information file's name
        juce::String file;       // the image or installer's name
        int size;
        juce::String md5;
    };

    struct Tree
    {
        std::vector<Published> files;
        const Published* find(int device, bool beta) const;
    };

    // Writes `spec` under `root` (which is created) and returns what was published.
    Tree write(const juce::File& root, const Spec& spec);

    // The documentation pages and the reference files pointing at them; rewritten on their own
    // when a served tree moves to another address.
    void writeReferences(const juce::File& root, const juce::String& docBaseUrl);

    // Deterministic bytes that begin with the version text.
    juce::MemoryBlock defaultImage(int device, const juce::String& version, int size);

    // The text of an update-information file.
    juce::String infoFileText(const juce::String& header, const Published& published);
}
