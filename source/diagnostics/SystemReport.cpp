#include "diagnostics/SystemReport.h"

#include "app/BuildInfo.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace SystemReport
{
namespace
{
const juce::String nl = "\r\n";

juce::String line(const juce::String& label, const juce::String& value)
{
    return label + value + nl;
}

juce::String yesNo(bool flag)
{
    return flag ? "yes" : "no";
}

juce::String rectText(juce::Rectangle<int> r)
{
    return juce::String(r.getX()) + " " + juce::String(r.getY()) + " " + juce::String(r.getWidth()) + " "
         + juce::String(r.getHeight());
}

juce::String folder(juce::File::SpecialLocationType type)
{
    return juce::File::getSpecialLocation(type).getFullPathName();
}

juce::String addressList(const juce::StringArray& addresses)
{
    juce::String text = nl;
    for (const auto& a : addresses)
        text << "  " << a << nl;
    return text + nl;
}
}

bool isWindows10()
{
    return false;
}

bool isWow64Process()
{
    return false;
}

juce::String operatingSystemName()
{
    return isWindows10() ? juce::String("Windows 10") : juce::SystemStats::getOperatingSystemName();
}

juce::String getSystemLine()
{
    return "  " + operatingSystemName() + (isWow64Process() ? " (64 bit)" : "") + ", "
         + juce::String(juce::SystemStats::getMemorySizeInMegabytes()) + "mb RAM, "
         + juce::String(juce::SystemStats::getNumCpus()) + " cores, "
         + juce::String(juce::SystemStats::getCpuSpeedInMegahertz()) + "MHz";
}

juce::String getShortSystemTag()
{
    const juce::String os = isWindows10() ? juce::String("Windows_10") : operatingSystemName().replace(" ", "_");
    return "[App:" + BuildInfo::appBuildString() + "] " + "[Sys:" + os + (isWow64Process() ? "x64" : "") + "] "
         + "[Ram:" + juce::String(juce::SystemStats::getMemorySizeInMegabytes()) + "mb" + "] " + "[Cpu:"
         + juce::String(juce::SystemStats::getNumCpus()) + "x"
         + juce::String(juce::SystemStats::getCpuSpeedInMegahertz()) + "MHz" + "]";
}

juce::String getDisplayInfo()
{
    juce::String text;
    if (juce::MessageManager::getInstanceWithoutCreating() != nullptr)
    {
        const auto& displays = juce::Desktop::getInstance().getDisplays().displays;
        int index = 1;
        for (const auto& d : displays)
        {
            text << "Display " << index++ << (d.isMain ? " (main)" : "") << ":" << nl;
            text << "  Total area: " << rectText(d.totalArea) << nl;
            text << "  User area:  " << rectText(d.userArea) << nl;
            text << "  DPI: " << juce::String(d.dpi) << nl;
            text << "  Scale: " << juce::String(d.scale) << nl << nl;
        }
    }
    return text + "Orientation: Upright" + nl;
}

juce::String getSystemInfoReport()
{
    using SS = juce::SystemStats;
    using F = juce::File;
    juce::String r;
    r << line("Time and date:    ", juce::Time::getCurrentTime().toString(true, true));
    r << line("System up-time:   ",
              juce::RelativeTime::milliseconds((juce::int64) juce::Time::getMillisecondCounter()).getDescription());
    r << line("Compilation date: ", juce::Time::getCompilationDate().toString(true, false)) << nl;

    r << line("Host name:        ", SS::getComputerName());
    r << line("Device type:      ", SS::getDeviceDescription());
    r << line("User logon name:  ", SS::getLogonName());
    r << line("Full user name:   ", SS::getFullUserName());
    r << line("User region:      ", SS::getUserRegion());
    r << line("User language:    ", SS::getUserLanguage());
    r << line("Display language: ", SS::getDisplayLanguage()) << nl;

    r << line("Number of logical CPUs:  ", juce::String(SS::getNumCpus()));
    r << line("Memory size:     ", juce::String(SS::getMemorySizeInMegabytes()) + " MB");
    r << line("CPU vendor:      ", SS::getCpuVendor());
    r << line("CPU speed:       ", juce::String(SS::getCpuSpeedInMegahertz()) + " MHz");
    r << line("CPU has MMX:     ", yesNo(SS::hasMMX()));
    r << line("CPU has SSE:     ", yesNo(SS::hasSSE()));
    r << line("CPU has SSE2:    ", yesNo(SS::hasSSE2()));
    r << line("CPU has SSE3:    ", yesNo(SS::hasSSE3()));
    r << line("CPU has SSSE3:   ", yesNo(SS::hasSSSE3()));
    r << line("CPU has SSE4.1:  ", yesNo(SS::hasSSE41()));
    r << line("CPU has SSE4.2:  ", yesNo(SS::hasSSE42()));
    r << line("CPU has 3DNOW:   ", yesNo(SS::has3DNow()));
    r << line("CPU has AVX:     ", yesNo(SS::hasAVX()));
    r << line("CPU has AVX2:    ", yesNo(SS::hasAVX2())) << nl;

    r << line("Current working directory:  ", F::getCurrentWorkingDirectory().getFullPathName());
    r << line("Current application file:   ", folder(F::currentApplicationFile));
    r << line("Current executable file:    ", folder(F::currentExecutableFile));
    r << line("Invoked executable file:    ", folder(F::invokedExecutableFile)) << nl;

    r << line("User home folder:               ", folder(F::userHomeDirectory));
    r << line("User desktop folder:            ", folder(F::userDesktopDirectory));
    r << line("User documents folder:          ", folder(F::userDocumentsDirectory));
    r << line("User application data folder:   ", folder(F::userApplicationDataDirectory));
    r << line("User music folder:              ", folder(F::userMusicDirectory));
    r << line("User movies folder:             ", folder(F::userMoviesDirectory));
    r << line("User pictures folder:           ", folder(F::userPicturesDirectory));
    r << line("Common application data folder: ", folder(F::commonApplicationDataDirectory));
    r << line("Common documents folder:        ", folder(F::commonDocumentsDirectory));
    r << line("Local temp folder:              ", folder(F::tempDirectory)) << nl;

    juce::Array<F> roots;
    F::findFileSystemRoots(roots);
    juce::StringArray rootNames;
    for (const auto& root : roots)
        rootNames.add(root.getFullPathName());
    r << line("File System roots: ", rootNames.joinIntoString(", "));
    const auto home = F::getSpecialLocation(F::userHomeDirectory);
    r << line("Free space in home folder: ", F::descriptionOfSizeInBytes(home.getBytesFreeOnVolume())) << nl;

    r << getDisplayInfo() << nl;

    juce::StringArray ips;
    for (const auto& ip : juce::IPAddress::getAllAddresses())
        ips.add(ip.toString());
    juce::StringArray macs;
    for (const auto& mac : juce::MACAddress::getAllAddresses())
        macs.add(mac.toString());
    r << "Network IP addresses: " << addressList(ips);
    r << "Network card MAC addresses: " << addressList(macs);
    return r;
}
}
