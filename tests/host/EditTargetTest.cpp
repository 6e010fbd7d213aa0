// EditTarget: the module's record starts empty, and MTextToRtf reaches it through its view.
#include <gtest/gtest.h>

#include "host/EditTarget.h"

TEST(EditTarget, ModuleRecordStartsEmpty) {
  const EditTarget& t = theEditTarget;
  EXPECT_EQ(AcGePoint3d::kOrigin, t.location);
  EXPECT_EQ(0.0, t.textHeight);
  EXPECT_EQ(Justification::kLeft, t.justification);
  EXPECT_EQ(0.0, t.rotation);
  EXPECT_TRUE(t.currentContents.IsEmpty());
  EXPECT_TRUE(t.textStyleName.IsEmpty());
  EXPECT_EQ(0.0, t.width);
  EXPECT_TRUE(ads_name_nil(t.entityName));
  EXPECT_FALSE(t.rtfPending);
  EXPECT_EQ(0.0, t.lineSpacingFactor);
  EXPECT_TRUE(t.rtfText.IsEmpty());
  EXPECT_EQ(SpacingStyle::kUnset, t.lineSpacingStyle);
  EXPECT_EQ(OffsetMode::kUnset, t.offsetMode);
  EXPECT_FALSE(t.liveUpdate);
  EXPECT_FALSE(t.isDimension);
  EXPECT_TRUE(t.textStyleId.isNull());
}

TEST(EditTarget, ReaderViewReadsHeightAndKeepsTheDocument) {
  EditTarget target;
  target.textHeight = 5.0;
  MTextToRtfEditTarget view(target);
  EXPECT_EQ(5.0, view.TextHeight());
  view.SetRtfText("{\\rtf1");
  EXPECT_STREQ("{\\rtf1", target.rtfText.GetString());
}
