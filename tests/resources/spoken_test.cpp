// What a screen reader says of a colour and of the result picture.
#include "resources/spoken.h"

#include <gtest/gtest.h>

namespace {

struct NamedColour {
    const char* row;
    int red, green, blue;
    const char* name;
};

void PrintTo(const NamedColour& c, std::ostream* out) {
    *out << c.row;
}

class ColourNames : public testing::TestWithParam<NamedColour> {};

TEST_P(ColourNames, SayWhatASightedUserSees) {
    const NamedColour& c = GetParam();
    EXPECT_EQ(spoken::colourName(c.red, c.green, c.blue).toStdString(), c.name);
}

// The sixteen colours of the classic palette, the program's own (the About
// box's green and magenta, the editor's system colours), and the edges
// between greys and colours and between hues.
INSTANTIATE_TEST_SUITE_P(
    Colours, ColourNames,
    testing::Values(
        NamedColour{"Black", 0, 0, 0, "czarny"}, NamedColour{"White", 255, 255, 255, "biały"},
        NamedColour{"Silver", 192, 192, 192, "jasnoszary"},
        NamedColour{"Grey", 128, 128, 128, "szary"},
        NamedColour{"DarkGrey", 64, 64, 64, "ciemnoszary"},
        NamedColour{"TintedGrey", 140, 128, 110, "szary"},
        NamedColour{"FaintRedIsAColour", 160, 128, 128, "czerwony"},
        NamedColour{"Red", 255, 0, 0, "czerwony"},
        NamedColour{"Maroon", 128, 0, 0, "ciemnoczerwony"},
        NamedColour{"LightRed", 255, 128, 128, "jasnoczerwony"},
        NamedColour{"Orange", 255, 128, 0, "pomarańczowy"},
        NamedColour{"Brown", 128, 64, 0, "brązowy"}, NamedColour{"Yellow", 255, 255, 0, "żółty"},
        NamedColour{"Olive", 128, 128, 0, "oliwkowy"},
        NamedColour{"Green", 0, 128, 0, "ciemnozielony"},
        NamedColour{"Cyan", 0, 255, 255, "błękitny"}, NamedColour{"Teal", 0, 128, 128, "morski"},
        NamedColour{"Blue", 0, 0, 255, "niebieski"}, NamedColour{"Navy", 0, 0, 128, "granatowy"},
        NamedColour{"Violet", 128, 0, 255, "fioletowy"},
        NamedColour{"Magenta", 255, 0, 255, "purpurowy"},
        NamedColour{"AboutHover", 192, 0, 192, "purpurowy"},
        NamedColour{"Pink", 255, 128, 255, "różowy"},
        NamedColour{"RedBelowTheWrap", 255, 0, 32, "czerwony"},
        NamedColour{"OrangeNotRed", 255, 70, 0, "pomarańczowy"}),
    [](const testing::TestParamInfo<NamedColour>& info) { return std::string(info.param.row); });

TEST(ColourDescription, GivesTheNameAndTheThreeParts) {
    EXPECT_EQ(spoken::colourDescription(QColor(0, 128, 0)).toStdString(),
              "ciemnozielony: czerwony 0, zielony 128, niebieski 0");
    EXPECT_EQ(spoken::colourDescription(QColor(255, 255, 255)).toStdString(),
              "biały: czerwony 255, zielony 255, niebieski 255");
}

struct PixelCount {
    int count;
    const char* word;
};

TEST(PixelsWord, FollowsPolishGrammar) {
    const PixelCount table[] = {
        {0, "pikseli"},  {1, "piksel"},    {2, "piksele"},   {4, "piksele"},   {5, "pikseli"},
        {11, "pikseli"}, {12, "pikseli"},  {14, "pikseli"},  {21, "pikseli"},  {22, "piksele"},
        {46, "pikseli"}, {101, "pikseli"}, {112, "pikseli"}, {123, "piksele"}, {1024, "piksele"}};
    for (const PixelCount& row : table)
        EXPECT_EQ(spoken::pixelsWord(row.count).toStdString(), row.word) << row.count;
}

struct Picture {
    const char* row;
    const char* text;
    const char* style;
    QSize size;
    const char* description;
};

TEST(PictureDescription, SaysTextStyleAndSize) {
    const Picture table[] = {
        {"Plain", "Text", "Czerwony", {65, 46}, "Napis „Text”, styl „Czerwony”, 65 × 46 pikseli"},
        {"Few", "Ala", "Szary", {40, 23}, "Napis „Ala”, styl „Szary”, 40 × 23 piksele"},
        {"Empty", "", "Szary", {1, 1}, "Bez napisu, styl „Szary”, 1 × 1 piksel"},
        // Placeholders in the text are the text's, not the description's.
        {"Percent", "%1 %2", "Żółty", {9, 5}, "Napis „%1 %2”, styl „Żółty”, 9 × 5 pikseli"},
        {"NoStyle", "a", "", {3, 2}, "Napis „a”, 3 × 2 piksele"},
    };
    for (const Picture& p : table)
        EXPECT_EQ(spoken::pictureDescription(QString::fromUtf8(p.text), QString::fromUtf8(p.style),
                                             p.size)
                      .toStdString(),
                  p.description)
            << p.row;
}

} // namespace
