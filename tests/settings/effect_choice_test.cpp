// The settings window's arithmetic: the combo items that show a stored record, what
// a changed combo stores, and the fraction a reopened file resumes at.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include "settings/EffectChoice.h"

using namespace DuiLib;

namespace {

TEST(EffectChoiceTest, StoredRecordSelectsItemsByTheBandOfItsCode) {
    struct Case { EffectSettings stored; ComboSelections shown; };
    const Case cases[] = {
        {{2, 255}, {2, 255, 0, 0}},     // last LOMO code
        {{0, 256}, {0, 0, 0, 0}},       // colour table "none"
        {{0, 511}, {0, 0, 255, 0}},
        {{0, 512}, {0, 0, 0, 0}},       // texture "none"
        {{-1, -5}, {-1, -5, 0, 0}},     // hand-edited: handed on, the combo ignores it
        {{7, 600}, {7, 0, 0, 88}},
    };
    for (const Case& c : cases) {
        const ComboSelections got = SelectionsFor(c.stored);
        SCOPED_TRACE(testing::Message() << "stored (" << c.stored.shape << "," << c.stored.effectCode << ")");
        EXPECT_EQ(got.shape, c.shown.shape);
        EXPECT_EQ(got.effect, c.shown.effect);
        EXPECT_EQ(got.colorTable, c.shown.colorTable);
        EXPECT_EQ(got.texture, c.shown.texture);
    }
}

TEST(EffectChoiceTest, ChangedComboStoresItsFamilyAndClearsTheOther) {
    struct Case { EffectSettings current; int changed, index; std::optional<EffectSettings> stored; };
    const Case cases[] = {
        {{1, 0}, kComboShape, 2, EffectSettings{2, 0}},
        {{0, 5}, kComboShape, 1, EffectSettings{1, 0}},      // a shape clears the effect
        {{2, 5}, kComboShape, 0, EffectSettings{0, 5}},      // "none" keeps it
        {{1, 0}, kComboEffect, 3, EffectSettings{0, 3}},     // an effect clears the shape
        {{1, 7}, kComboEffect, 0, EffectSettings{1, 0}},     // LOMO "none" keeps it
        {{1, 0}, kComboColorTable, 0, EffectSettings{0, 256}},   // "none" is still 256
        {{2, 0}, kComboColorTable, 2, EffectSettings{0, 258}},
        {{1, 0}, kComboTexture, 0, EffectSettings{0, 512}},
        {{1, 0}, kComboTexture, 10, EffectSettings{0, 522}},
        // Nothing to store.
        {{2, 0}, kComboShape, 2, std::nullopt},
        {{0, 0}, kComboEffect, 0, std::nullopt},
        {{0, 257}, kComboColorTable, 1, std::nullopt},
        {{0, 515}, kComboTexture, 3, std::nullopt},
        {{1, 0}, kComboNone, 2, std::nullopt},
        {{1, 0}, 5, 2, std::nullopt},
        // No item selected: not the colour table's 255 or a shape of -1.
        {{1, 0}, kComboColorTable, -1, std::nullopt},
        {{1, 0}, kComboShape, -1, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<EffectSettings> got = ApplyChoice(c.current, c.changed, c.index);
        SCOPED_TRACE(testing::Message() << "current (" << c.current.shape << "," << c.current.effectCode
                                        << "), combo " << c.changed << " item " << c.index);
        ASSERT_EQ(got.has_value(), c.stored.has_value());
        if (got) {
            EXPECT_EQ(got->shape, c.stored->shape);
            EXPECT_EQ(got->effectCode, c.stored->effectCode);
        }
    }
}

TEST(EffectChoiceTest, ResumeFractionUsesWholeSecondsOrNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { double position, duration; std::optional<float> fraction; };
    const Case cases[] = {
        {83.9, 120.5, 83.0f / 120.0f},
        {0.0, 120.5, 0.0f},
        {0.99, 1.0, 0.0f},
        {-0.5, 10.0, 0.0f},      // just before the start truncates to it
        {121.2, 120.5, 1.0f},    // past the reported end: the end
        // Under one second of duration: no fraction, the file starts over.
        {0.4, 0.9, std::nullopt},
        {3.0, 0.0, std::nullopt},
        {-2.0, 10.0, std::nullopt},
        {5.0, -10.0, std::nullopt},
        {nan, 10.0, std::nullopt},
        {5.0, inf, std::nullopt},
        {1e300, 10.0, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<float> got = ResumeFraction(c.position, c.duration);
        SCOPED_TRACE(testing::Message() << c.position << " of " << c.duration);
        ASSERT_EQ(got.has_value(), c.fraction.has_value());
        if (got) {
            EXPECT_EQ(*got, *c.fraction);
        }
    }
}

} // namespace
