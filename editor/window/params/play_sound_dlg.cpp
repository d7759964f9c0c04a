#include "play_sound_dlg.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

#include "core/param.h"
#include "vocabulary_list.h"
#include "window/preview/preview_resources.h"
#include "window/sound_player.h"

namespace vtq {
namespace {

constexpr uint32_t kLastVoiceId = 511;

}  // namespace

CPlaySoundDlg::CPlaySoundDlg(CPlaySound& param, QWidget* parent, PlayPreview play)
    : QWidget(parent),
      param_(param),
      sound_(new QRadioButton(QStringLiteral("&Sound FX"), this)),
      voice_(new QRadioButton(QStringLiteral("&Voice Over"), this)),
      list_(new VocabularyList(this)),
      play_(new QPushButton(QStringLiteral("&Play"), this)) {
  auto* group = new QButtonGroup(this);
  group->addButton(sound_);
  group->addButton(voice_);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(sound_);
  buttons->addWidget(voice_);
  buttons->addStretch();
  buttons->addWidget(play_);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  if (!play) {
    auto* player = new SoundPlayer(this);
    play = [player](const QString& path) { player->playResource(path); };
  }
  showRange(param.soundId >= kFirstVoiceId);
  connect(sound_, &QRadioButton::clicked, this, [this] { showRange(false); });
  connect(voice_, &QRadioButton::clicked, this, [this] { showRange(true); });
  connect(list_, &VocabularyList::idSelected, this, [this](uint16_t id) { param_.soundId = id; });
  connect(play_, &QPushButton::clicked, this, [this, play] {
    initPreviewResources();
    play(soundResourcePath(param_.soundId));
  });
}

// Checks the range's button and lists its names; the sound id stays until a
// name is selected.
void CPlaySoundDlg::showRange(bool voices) {
  (voices ? voice_ : sound_)->setChecked(true);
  if (voices) {
    list_->fill(Vocabulary::Voice, kFirstVoiceId, kLastVoiceId);
  } else {
    list_->fill(Vocabulary::Sound, 0, kFirstVoiceId - 1);
  }
  list_->showId(param_.soundId);
}

}  // namespace vtq
