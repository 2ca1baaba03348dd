#include "demo/DemoSession.h"

#include "app/SettingsKeys.h"
#include "device/ServerConfig.h"
#include "serial/SerialPort.h"
#include "updateserver/UpdateTree.h"

#include <juce_data_structures/juce_data_structures.h>

#include <cstdlib>

juce::File DemoSession::defaultHome()
{
    return juce::File::getSpecialLocation(juce::File::userHomeDirectory).getChildFile(".cache/halvane-demo");
}

void DemoSession::useHome(const juce::File& home)
{
    home.createDirectory();
    setenv("HOME", home.getFullPathName().toRawUTF8(), 1);
}

DemoSession::DemoSession(juce::File home) : m_home(std::move(home))
{
}

DemoSession::~DemoSession()
{
    m_pedal.reset();
    if (m_server != nullptr)
        m_server->stop();
    SerialPort::setEnumerationRoots(juce::File("/sys"), juce::File("/dev"));
}

void DemoSession::attachPedal(const PedalSettings& settings)
{
    m_pedal.reset();
    m_home.getChildFile("fake").deleteRecursively();
    sysfsRoot().getChildFile("class/tty").createDirectory();
    deviceFolder().createDirectory();
    SerialPort::setEnumerationRoots(sysfsRoot(), deviceFolder());

    m_pedal = SimulatedPedal::inFakeSysfs(settings, sysfsRoot().getFullPathName().toStdString(),
                                          deviceFolder().getFullPathName().toStdString());
    m_pedal->plug();
}

bool DemoSession::startUpdateServer()
{
    const auto root = m_home.getChildFile("server");
    m_server = std::make_unique<UpdateServer>(root);
    if (!m_server->start())
        return false;
    // The port differs from run to run, and the reference files carry it.
    if (root.getChildFile(juce::String(UpdateServer::kReleasePath).substring(1)).isDirectory())
        UpdateTree::writeReferences(root, m_server->baseUrl());
    else
        UpdateTree::write(root, UpdateTree::Spec::standard(m_server->baseUrl()));
    return true;
}

void DemoSession::writeServerSettings()
{
    if (m_server == nullptr)
        return;
    juce::PropertiesFile settings(SettingsKeys::fileOptions());
    settings.setValue(ServerConfig::kReleaseKey, m_server->releaseBaseUrl());
    settings.setValue(ServerConfig::kBetaKey, m_server->betaBaseUrl());
    settings.setValue(ServerConfig::kEventReportKey, m_server->eventReportUrl());
    settings.saveIfNeeded();
}
