#pragma once

#include "simpedal/SimulatedPedal.h"
#include "PortClient.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <unistd.h>

// A simulated pedal in a fresh fake sysfs tree, and helpers to talk to it as the application does.
class PedalFixture : public testing::Test
{
protected:
    void TearDown() override
    {
        client.reset();
        pedal.reset();
        std::filesystem::remove_all(root);
    }

    void makePedal(int model, const std::string& version, PedalSettings settings = {})
    {
        root = std::filesystem::temp_directory_path()
               / ("hv-simpedal-" + std::to_string(::getpid()) + "-" + std::to_string(++s_counter));
        std::filesystem::create_directories(root);
        settings.model = model;
        settings.version = version;
        pedal = SimulatedPedal::inFakeSysfs(settings, root / "sys", root / "dev");
    }

    void plugAndOpen()
    {
        pedal->plug();
        open();
    }

    void open()
    {
        client = std::make_unique<PortClient>(pedal->devicePath());
        ASSERT_TRUE(client->isOpen()) << pedal->devicePath();
    }

    std::string ask(const std::string& command, std::chrono::milliseconds timeout = std::chrono::milliseconds(1000))
    {
        client->write(command);
        return client->readLine(timeout);
    }

    std::string readText(const std::filesystem::path& file) const
    {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path sys() const { return root / "sys"; }

    std::filesystem::path root;
    std::unique_ptr<SimulatedPedal> pedal;
    std::unique_ptr<PortClient> client;
    static inline int s_counter = 0;
};
