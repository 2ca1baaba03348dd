// Writes the window images and application icons as PNG files.
// Usage: assetgen [output folder]   (default: assets)
#include "assetgen/Artwork.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>

namespace
{
bool writePng(const juce::Image& image, const juce::File& file)
{
    file.deleteFile();  // a file output stream appends to what is there
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    return out.openedOk() && png.writeImageToStream(image, out);
}
}

int main(int argc, char** argv)
{
    juce::ScopedJuceInitialiser_GUI gui;  // tears down the graphics singletons on exit
    const juce::File folder = juce::File::getCurrentWorkingDirectory().getChildFile(argc > 1 ? argv[1] : "assets");
    if (!folder.createDirectory())
    {
        std::fprintf(stderr, "Cannot create %s\n", folder.getFullPathName().toRawUTF8());
        return 1;
    }
    for (const auto& asset : Artwork::all())
    {
        const auto file = folder.getChildFile(asset.fileName);
        if (!writePng(asset.render(), file))
        {
            std::fprintf(stderr, "Cannot write %s\n", file.getFullPathName().toRawUTF8());
            return 1;
        }
        std::printf("%s\n", file.getFullPathName().toRawUTF8());
    }
    return 0;
}
