#include "app/BuildInfo.h"
#include "app/Clock.h"
#include "diagnostics/LogFormat.h"
#include "ui/Assets.h"
#include "ui/MainComponent.h"
#include "ui/Theme.h"

namespace
{
const juce::Colour kTextShadow(Theme::kTextShadow);
const juce::DropShadow kShadow(juce::Colour(0xBF000000), 15, { 5, 5 });

void drawShadowedText(juce::Graphics& g, const juce::String& text, juce::Rectangle<int> box, juce::Colour colour,
                      juce::Justification justification = juce::Justification::centredLeft)
{
    g.setColour(kTextShadow);
    g.drawText(text, box.translated(1, 1), justification, false);
    g.setColour(colour);
    g.drawText(text, box, justification, false);
}

juce::Colour themeColour(int slot)
{
    return juce::Colour(s_theme[(size_t) slot]);
}
}

juce::Colour MainComponent::themeTextColour() const
{
    return themeColour(1);
}

void MainComponent::drawPanelBackground(juce::Graphics& g, juce::Rectangle<int> area)
{
    g.drawImage(m_background, area.toFloat(), juce::RectanglePlacement::stretchToFit);
}

void MainComponent::paint(juce::Graphics& g)
{
    g.drawImageAt(staticLayer(), 0, 0);
    paintHeader(g);
    paintBanners(g);
    if (!m_notifications.empty())
    {
        g.setColour(juce::Colours::black);
        g.setFont(juce::Font(12.0f));
        g.drawText("Notifications:", 41, 400, 300, 12, juce::Justification::centredLeft, false);
    }
    if (m_bRecoveryMode)
    {
        const juce::Rectangle<float> box(153, 91, 270, 38);
        kShadow.drawForRectangle(g, box.toNearestInt());
        g.setColour(juce::Colours::black);
        g.fillRoundedRectangle(box, 5.0f);
        g.setColour(juce::Colours::red);
        g.drawRoundedRectangle(box, 5.0f, 1.0f);
        g.setFont(juce::Font(32.0f, juce::Font::bold));
        g.drawText("RECOVERY MODE", box, juce::Justification::centred, false);
    }
    paintIndicators(g);
    paintStatus(g);
    if (m_settingsPanel.isVisible())
        kShadow.drawForRectangle(g, settingsPanelBounds());
    if (m_bDebugMode)
        paintDebugPanel(g);
    m_nextRepaintTime = Clock::nowMs() + m_repaintPeriodMs;
}

// The images and the list shadows change only with the size and the theme, but stretching the
// images and blurring the shadows on every repaint cost several per cent of a core while idle;
// they are drawn once into a layer and the layer is blitted.
const juce::Image& MainComponent::staticLayer()
{
    const auto accent = themeColour(0);
    if (m_staticLayer.isValid() && m_staticLayer.getBounds() == getLocalBounds() && m_staticLayerAccent == accent)
        return m_staticLayer;

    m_staticLayer = juce::Image(juce::Image::RGB, juce::jmax(1, getWidth()), juce::jmax(1, getHeight()), false);
    m_staticLayerAccent = accent;
    juce::Graphics g(m_staticLayer);
    g.fillAll(juce::Colour(0xFF808080));
    g.setColour(juce::Colours::black);
    paintImages(g);
    for (const auto& list : { m_deviceList.getBounds(), m_computerList.getBounds() })
        kShadow.drawForRectangle(g, list);
    return m_staticLayer;
}

void MainComponent::paintImages(juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();
    const auto stretch = juce::RectanglePlacement::stretchToFit;
    g.drawImage(m_background, juce::Rectangle<float>(0, 0, (float) w, (float) h), stretch);
    g.drawImage(m_topBar, juce::Rectangle<float>(0, 0, 576, 80), stretch);
    g.drawImage(m_bottomBar, juce::Rectangle<float>(0, (float) (h - 47), 576, 47), stretch);
    Assets::drawSilhouette(g, m_logo, { 22, 22, 42, 30 }, stretch, themeColour(0));
    Assets::drawSilhouette(g, m_wordmark, { 406, h - 30, 170, 20 }, juce::RectanglePlacement::centred, themeColour(0));
}

void MainComponent::paintHeader(juce::Graphics& g)
{
    if (m_connectedDevice == -1)
    {
        g.setFont(juce::Font(27.0f, juce::Font::bold));
        drawShadowedText(g, "NO DEVICE FOUND ", { 85, 31, 500, 10 }, juce::Colour(0xFF555555));
        return;
    }
    const juce::Font nameFont(27.0f, juce::Font::bold);
    const juce::Font subFont(18.0f, juce::Font::bold);
    const auto name = DeviceName(m_themeDevice).toUpperCase() + " ";
    const auto sub = DeviceSubName(m_themeDevice).toUpperCase() + " ";
    const int nameWidth = nameFont.getStringWidth(name);
    g.setFont(nameFont);
    drawShadowedText(g, name, { 85, 31, 500, 10 }, themeColour(0));
    g.setFont(subFont);
    drawShadowedText(g, sub, { 85 + nameWidth, 34, 500, 10 }, themeColour(0));
    if (m_bBetaChannel && m_connectedDevice > 0)
    {
        const int x = 85 + nameWidth + (int) std::ceil(subFont.getStringWidthFloat(sub));
        drawShadowedText(g, "(BETA)", { x, 34, 100, 10 }, juce::Colour(0xFFFF0000));
    }
}

void MainComponent::paintBanners(juce::Graphics& g)
{
    juce::StringArray banners;
    if (m_bLogUrlRequests)
        banners.add("DEVELOP BUILD. NOT FOR PUBLIC RELEASE. (" + BuildInfo::appBuildString() + ")");
    if (m_bBetaChannel)
        banners.add("VALID BETA KEY IS INSTALLED.");
    if (m_bTestAppUpdate)
        banners.add("FORCE APP UPDATE.");
    g.setFont(juce::Font(10.0f));
    g.setColour(juce::Colour(0xFF8B0000));
    for (int i = 0; i < banners.size(); ++i)
        g.drawText(banners[i], 3, 76 + 12 * i, 560, 10, juce::Justification::centredLeft, false);
}

float MainComponent::indicatorAlpha(juce::int64 lastTime, int& indicator, juce::int64 now)
{
    const float fade = (float) (250 - (now - lastTime)) / 82.0f;
    if (fade > 0.0f)
    {
        indicator = 1;
        return juce::jmin(fade, 1.0f);
    }
    indicator = 0;
    return 0.0f;
}

void MainComponent::paintIndicators(juce::Graphics& g)
{
    const auto now = Clock::nowMs();
    const int h = getHeight();
    g.setFont(juce::Font(10.0f));
    g.setColour(themeColour(0).withMultipliedAlpha(indicatorAlpha(m_lastTxTime, m_txIndicator, now)));
    g.drawText("TX", 10, h - 16, 20, 10, juce::Justification::centredLeft, false);
    g.setColour(themeColour(0).withMultipliedAlpha(indicatorAlpha(m_lastRxTime, m_rxIndicator, now)));
    g.drawText("RX", 27, h - 16, 20, 10, juce::Justification::centredLeft, false);
    drawShadowedText(g, " | " + ConnectionStatusText(), { 40, h - 16, 400, 10 }, themeColour(0));
}

void MainComponent::paintStatus(juce::Graphics& g)
{
    LogFormat::keepNewest(m_statusLines, 1);
    if (m_statusLines.isEmpty())
        return;
    const auto& text = m_statusLines[0];
    bool tagged = false;
    const auto colour = LogFormat::parseColourTag(text, &tagged, s_theme[0]);
    g.setFont(juce::Font(10.0f));
    drawShadowedText(g, LogFormat::displayText(text, tagged), { 10, getHeight() - 31, getWidth() - 32, 10 },
                     juce::Colour(colour));
}

void MainComponent::paintDebugPanel(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xFF1F1F1F));
    g.fillRoundedRectangle(584.0f, 8.0f, 334.0f, 464.0f, 4.0f);
    LogFormat::keepNewest(m_debugLines, kMaxDebugLines);
    g.setFont(juce::Font(10.0f));
    for (int i = 0; i < m_debugLines.size(); ++i)
    {
        bool tagged = false;
        const auto colour = LogFormat::parseColourTag(m_debugLines[i], &tagged, s_theme[1]);
        g.setColour(juce::Colour(colour));
        g.drawText(LogFormat::displayText(m_debugLines[i], tagged), 588, 12 + 10 * i, 326, 10,
                   juce::Justification::centredLeft, true);
    }
}

void MainComponent::UpdateTheme(int deviceIndex)
{
    AppCommon::UpdateTheme(deviceIndex);
    setColour(juce::Label::textColourId, themeColour(1));
    setColour(juce::Label::backgroundColourId, themeColour(2));
    m_settingsPanel.refreshLook();
    repaint();
}
