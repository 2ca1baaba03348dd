#include "assetgen/BrandShapes.h"

#include <cmath>
#include <vector>

namespace
{
// Both shapes are drawn in the pixel grid of their own image and scaled from there.
const juce::Rectangle<float> kMarkDesign { 0.0f, 0.0f, 78.0f, 55.0f };
const juce::Rectangle<float> kWordmarkDesign { 0.0f, 0.0f, 154.0f, 20.0f };

// The disc's flat edge is on the left; each echo repeats its round edge a step further right.
constexpr float kDiscLeft = 4.0f;
constexpr float kMarkCentreY = 27.5f;
constexpr float kDiscRadius = 25.0f;
constexpr float kEchoStep = 11.0f;
constexpr float kEchoWidths[] = { 4.2f, 3.7f, 3.2f, 2.7f };
// Where the echoes come close to each other at their ends they stop, so the gaps stay open.
constexpr float kEchoHalfAngle = 0.98f;  // radians either side of the horizontal

juce::AffineTransform fitInto(juce::Rectangle<float> design, juce::Rectangle<float> area)
{
    return juce::RectanglePlacement(juce::RectanglePlacement::centred).getTransformToFit(design, area);
}

juce::Path halfDisc()
{
    juce::Path disc;
    disc.addCentredArc(kDiscLeft, kMarkCentreY, kDiscRadius, kDiscRadius, 0.0f, 0.0f, juce::MathConstants<float>::pi,
                       true);
    disc.closeSubPath();
    return disc;
}

juce::Path echoArc(int ring)
{
    const float centreX = kDiscLeft + kEchoStep * (float) (ring + 1);
    const float right = juce::MathConstants<float>::halfPi;
    juce::Path centreLine;
    centreLine.addCentredArc(centreX, kMarkCentreY, kDiscRadius, kDiscRadius, 0.0f, right - kEchoHalfAngle,
                             right + kEchoHalfAngle, true);
    juce::Path arc;
    juce::PathStrokeType(kEchoWidths[ring], juce::PathStrokeType::curved, juce::PathStrokeType::rounded)
        .createStrokedPath(arc, centreLine);
    return arc;
}

// The letters are geometric capitals: vertical stems, horizontal bars, and diagonals cut flat at
// the cap line and the baseline.
constexpr float kCapTop = 3.0f;
constexpr float kCapHeight = 14.0f;
constexpr float kStroke = 2.3f;

void addQuad(juce::Path& path, juce::Point<float> topLeft, juce::Point<float> topRight, juce::Point<float> bottomRight,
             juce::Point<float> bottomLeft)
{
    // Same turning sense as addRectangle, so overlapping strokes unite under non-zero winding.
    path.startNewSubPath(topLeft);
    path.lineTo(topRight);
    path.lineTo(bottomRight);
    path.lineTo(bottomLeft);
    path.closeSubPath();
}

void addStem(juce::Path& path, float x)
{
    path.addRectangle(x, kCapTop, kStroke, kCapHeight);
}

void addBar(juce::Path& path, float x, float width, float y)
{
    path.addRectangle(x, y, width, kStroke);
}

// Horizontal width of a diagonal whose ends lie `offset` apart sideways, so that it looks as heavy
// as a stem.
float diagonalWidth(float offset)
{
    return kStroke * std::hypot(offset, kCapHeight) / kCapHeight;
}

// A diagonal from the cap line at `topX` to the baseline at `bottomX` (left edges).
void addDiagonal(juce::Path& path, float topX, float bottomX, float width)
{
    const float bottom = kCapTop + kCapHeight;
    addQuad(path, { topX, kCapTop }, { topX + width, kCapTop }, { bottomX + width, bottom }, { bottomX, bottom });
}

float letterH(juce::Path& path, float x)
{
    constexpr float width = 12.0f;
    addStem(path, x);
    addStem(path, x + width - kStroke);
    addBar(path, x, width, kCapTop + (kCapHeight - kStroke) * 0.5f);
    return width;
}

// Two diagonals meeting in a flat point at the cap line (A) or at the baseline (V); returns
// their horizontal width.
float addChevron(juce::Path& path, float x, float width, bool pointAtTop)
{
    const float slant = diagonalWidth((width - kStroke) * 0.5f);
    const float point = x + (width - slant) * 0.5f;
    const float right = x + width - slant;
    addDiagonal(path, pointAtTop ? point : x, pointAtTop ? x : point, slant);
    addDiagonal(path, pointAtTop ? point : right, pointAtTop ? right : point, slant);
    return slant;
}

// A with a low cross bar, its apex cut flat.
float letterA(juce::Path& path, float x)
{
    constexpr float width = 14.0f;
    const float slant = addChevron(path, x, width, true);
    // The bar reaches the outer edges at its top, so no corner sticks out.
    const float barY = kCapTop + kCapHeight * 0.62f;
    const float halfReach = slant * 0.5f + (width - slant) * 0.5f * (barY - kCapTop) / kCapHeight;
    addBar(path, x + width * 0.5f - halfReach, halfReach * 2.0f, barY);
    return width;
}

float letterL(juce::Path& path, float x)
{
    constexpr float width = 9.5f;
    addStem(path, x);
    addBar(path, x, width, kCapTop + kCapHeight - kStroke);
    return width;
}

float letterV(juce::Path& path, float x)
{
    constexpr float width = 14.0f;
    addChevron(path, x, width, false);
    return width;
}

float letterN(juce::Path& path, float x)
{
    constexpr float width = 12.0f;
    addStem(path, x);
    addStem(path, x + width - kStroke);
    const float slant = diagonalWidth(width - kStroke);
    addDiagonal(path, x, x + width - slant, slant);
    return width;
}

float letterE(juce::Path& path, float x)
{
    constexpr float width = 10.0f;
    addStem(path, x);
    addBar(path, x, width, kCapTop);
    addBar(path, x, width - 1.0f, kCapTop + (kCapHeight - kStroke) * 0.5f);
    addBar(path, x, width, kCapTop + kCapHeight - kStroke);
    return width;
}

using Letter = float (*)(juce::Path&, float);

juce::Path spelledName()
{
    const std::vector<Letter> letters { letterH, letterA, letterL, letterV, letterA, letterN, letterE };
    constexpr float tracking = 10.5f;
    juce::Path name;
    float x = 0.0f;
    for (const Letter letter : letters)
        x += letter(name, x) + tracking;
    return name;
}
}

namespace BrandShapes
{
Mark mark(juce::Rectangle<float> area)
{
    const auto toArea = fitInto(kMarkDesign, area);
    Mark result;
    result.disc = halfDisc();
    result.disc.applyTransform(toArea);
    for (size_t ring = 0; ring < result.echoes.size(); ++ring)
    {
        result.echoes[ring] = echoArc((int) ring);
        result.echoes[ring].applyTransform(toArea);
    }
    return result;
}

juce::Path wordmark(juce::Rectangle<float> area)
{
    juce::Path name = spelledName();
    // Centre the lettering in the design box, then the design box in the area.
    const auto inked = name.getBounds();
    name.applyTransform(juce::AffineTransform::translation(kWordmarkDesign.getCentreX() - inked.getCentreX(), 0.0f));
    name.applyTransform(fitInto(kWordmarkDesign, area));
    return name;
}
}
