#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtGui/QTextDocument>
#include <QtMultimedia/QWaveDecoder>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTextBrowser>
#include <map>

#include "core/param.h"
#include "gif_builder.h"
#include "help_dlg.h"
#include "param_dialogs.h"
#include "params/ability_dlg.h"
#include "params/animation_dlg.h"
#include "params/play_sound_dlg.h"
#include "params/vocabulary_list.h"
#include "preview/gif_preview.h"
#include "preview/picture_source.h"
#include "preview/preview_picture.h"
#include "preview/preview_resources.h"
#include "window_test_support.h"

using namespace vtq;
using namespace vtq::testing;

namespace {

QStringList namesOf(const QListWidget& list) {
  QStringList names;
  for (int row = 0; row < list.count(); ++row) names << list.item(row)->text();
  return names;
}

// Picture 3 ("BONUS") has three frames of 0.1 s: red, green, blue.
class TestPictures : public PictureSource {
 public:
  TestPictures() {
    TestGif gif;
    gif.width = gif.height = 2;
    gif.globalColours = {0xFF0000, 0x00FF00, 0x0000FF};
    gif.frames = {solidFrame(2, 2, 0, 10), solidFrame(2, 2, 1, 10), solidFrame(2, 2, 2, 10)};
    const auto bytes = buildGif(gif);
    gifs_[3] = QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  }
  std::optional<QByteArray> pictureData(uint16_t id) const override {
    const auto found = gifs_.find(id);
    if (found == gifs_.end()) return std::nullopt;
    return found->second;
  }

 private:
  std::map<uint16_t, QByteArray> gifs_;
};

QRgb shownColour(const CAnimationDlg& dialog) { return dialog.preview()->offscreenPicture().pixel(0, 0) & 0xFFFFFF; }

class ParamDialogs : public ::testing::Test {
 protected:
  void SetUp() override { test::testApplication(); }
};

}  // namespace

TEST_F(ParamDialogs, AbilityListOffersNamedAbilitiesOnly) {
  CAbility param;
  param.abilityId = 3;
  CAbilityDlg dialog(param);
  const QStringList names = namesOf(*dialog.list());
  EXPECT_FALSE(names.contains("AB_IDLE"));
  EXPECT_EQ(names.size(), 20);
  QStringList sorted = names;
  sorted.sort();
  EXPECT_EQ(names, sorted);
  EXPECT_EQ(dialog.list()->selectedId(), -1);
  ASSERT_TRUE(dialog.list()->selectName("AB_SONAR"));
  EXPECT_EQ(param.abilityId, 25);
}

TEST_F(ParamDialogs, SoundRangeFollowsTheRadioButtons) {
  CPlaySound param;
  param.soundId = 100;
  QStringList played;
  CPlaySoundDlg dialog(param, nullptr, [&](const QString& path) { played << path; });
  EXPECT_TRUE(dialog.voiceButton()->isChecked());
  EXPECT_EQ(dialog.list()->selectedId(), 100);
  EXPECT_EQ(dialog.list()->count(), 227);

  dialog.soundButton()->click();
  EXPECT_TRUE(dialog.soundButton()->isChecked());
  EXPECT_FALSE(dialog.voiceButton()->isChecked());
  EXPECT_EQ(dialog.list()->count(), 63);
  EXPECT_EQ(param.soundId, 100);

  ASSERT_TRUE(dialog.list()->selectName("SFX_Honk"));
  EXPECT_EQ(param.soundId, 25);
  dialog.playButton()->click();
  EXPECT_EQ(played, QStringList{":/sounds/25.wav"});
}

// Every id of the vocabulary has its picture or sound among the resources;
// every picture is an animation of frames of 0.1 s.
TEST_F(ParamDialogs, EveryIdHasItsResource) {
  const ResourcePictureSource pictures;
  for (const auto& e : vocabularyTable(Vocabulary::Picture)) {
    const auto data = pictures.pictureData(e.id);
    ASSERT_TRUE(data) << e.name;
    const auto picture = decodePreviewPicture(*data);
    ASSERT_TRUE(picture && picture->isAnimation()) << e.name;
    for (const FrameRecord& frame : picture->frames) EXPECT_EQ(frame.delay, 10) << e.name;
  }
  // Sounds as the preview player's decoder sees them: 8-bit mono at 11025 Hz.
  for (const Vocabulary table : {Vocabulary::Sound, Vocabulary::Voice}) {
    for (const auto& e : vocabularyTable(table)) {
      QFile file(soundResourcePath(e.id));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << e.name;
      QWaveDecoder wave(&file);
      ASSERT_TRUE(wave.open(QIODevice::ReadOnly)) << e.name;
      const QAudioFormat format = wave.audioFormat();
      EXPECT_EQ(format.sampleRate(), 11025) << e.name;
      EXPECT_EQ(format.channelCount(), 1) << e.name;
      EXPECT_EQ(format.sampleFormat(), QAudioFormat::UInt8) << e.name;
      EXPECT_GT(wave.size(), 0) << e.name;
    }
  }
}

TEST_F(ParamDialogs, IconModeShowsAndStepsTheStoredIcon) {
  auto pictures = std::make_shared<TestPictures>();
  const struct {
    int storedIcon, iconAfterOpening;
    QRgb shown;
  } cases[] = {{7, 1, 0xFF0000}, {2, 2, 0x00FF00}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.storedIcon);
    CAnimation param;
    param.pictureId = 3;
    param.mode = CAnimation::kIcon;
    param.iconNumber = uint8_t(c.storedIcon);
    CAnimationDlg dialog(param, pictures);
    EXPECT_TRUE(dialog.iconButton()->isChecked());
    EXPECT_FALSE(dialog.loopedBox()->isEnabled());
    EXPECT_FALSE(dialog.nextButton()->isHidden());
    EXPECT_EQ(param.iconNumber, c.iconAfterOpening);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shownColour(dialog) == c.shown; }, 5000));
  }
}

TEST_F(ParamDialogs, AnimationModesAndIconSteps) {
  CAnimation param;
  param.pictureId = 3;
  param.mode = CAnimation::kOnce;
  CAnimationDlg dialog(param, std::make_shared<TestPictures>());
  EXPECT_TRUE(dialog.animationButton()->isChecked());
  EXPECT_TRUE(dialog.nextButton()->isHidden());
  EXPECT_FALSE(dialog.loopedBox()->isChecked());
  dialog.loopedBox()->click();
  EXPECT_EQ(param.mode, CAnimation::kLooped);

  dialog.iconButton()->click();
  EXPECT_EQ(param.mode, CAnimation::kIcon);
  dialog.nextButton()->click();
  dialog.nextButton()->click();
  EXPECT_EQ(param.iconNumber, 3);
  EXPECT_TRUE(QTest::qWaitFor([&] { return shownColour(dialog) == 0x0000FF; }, 5000));
  dialog.nextButton()->click();
  EXPECT_EQ(param.iconNumber, 1);
}

TEST_F(ParamDialogs, PictureWithoutGifHidesThePreview) {
  CAnimation param;
  param.pictureId = 3;
  CAnimationDlg dialog(param, std::make_shared<TestPictures>());
  EXPECT_FALSE(dialog.preview()->isHidden());
  ASSERT_TRUE(dialog.list()->selectName("CRASH"));
  EXPECT_EQ(param.pictureId, 5);
  EXPECT_TRUE(dialog.preview()->isHidden());
  EXPECT_FALSE(dialog.preview()->isLoaded());
}

// The dialog follows the parameter's kind; closing removes it.
TEST_F(ParamDialogs, OpenAndClose) {
  QWidget area;
  area.resize(360, 150);
  CParam plain;
  CAbility ability;
  CAnimation animation;
  CPlaySound sound;
  const std::pair<CParam*, const char*> cases[] = {{&plain, nullptr},
                                                   {&ability, "vtq::CAbilityDlg"},
                                                   {&animation, "vtq::CAnimationDlg"},
                                                   {&sound, "vtq::CPlaySoundDlg"}};
  for (const auto& [param, className] : cases) {
    openParamDialog(*param, &area);
    const auto children = area.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(children.size(), className ? 1 : 0);
    if (className) {
      EXPECT_STREQ(children.front()->metaObject()->className(), className);
      EXPECT_EQ(children.front()->geometry(), area.rect());
    }
    closeParamDialog(*param, &area);
    EXPECT_TRUE(area.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty());
  }
}

TEST_F(ParamDialogs, HelpWindowShowsTheManualWithItsLogo) {
  CHelpDlg help(nullptr);
  const QString text = help.browser()->toPlainText();
  for (const char* section : {"Introduction", "Creating a new document", "Adding commands", "Editing commands",
                              "Deleting commands", "Playing the wave file", "Additional features"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(section))) << section;
  }
  const QVariant logo = help.browser()->document()->resource(QTextDocument::ImageResource, QUrl("logo.gif"));
  EXPECT_FALSE(logo.value<QImage>().isNull());
}
