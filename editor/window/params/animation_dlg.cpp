#include "animation_dlg.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <algorithm>

#include "core/param.h"
#include "vocabulary_list.h"
#include "window/preview/gif_preview.h"
#include "window/preview/picture_source.h"

namespace vtq {
namespace {

constexpr uint32_t kLastPictureId = 8191;

}  // namespace

CAnimationDlg::CAnimationDlg(CAnimation& param, std::shared_ptr<const PictureSource> pictures, QWidget* parent)
    : QWidget(parent),
      param_(param),
      pictures_(std::move(pictures)),
      animation_(new QRadioButton(QStringLiteral("&Animation"), this)),
      icon_(new QRadioButton(QStringLiteral("&Icon"), this)),
      looped_(new QCheckBox(QStringLiteral("Looped"), this)),
      list_(new VocabularyList(this)),
      preview_(new CGifPreview(this)),
      next_(new QPushButton(QStringLiteral("->"), this)) {
  auto* group = new QButtonGroup(this);
  group->addButton(animation_);
  group->addButton(icon_);
  next_->setFixedWidth(36);
  auto* side = new QGridLayout;
  side->addWidget(animation_, 0, 0);
  side->addWidget(icon_, 0, 1);
  side->addWidget(looped_, 1, 0, 1, 2);
  side->addWidget(preview_, 2, 0, Qt::AlignLeft | Qt::AlignTop);
  side->addWidget(next_, 2, 1, Qt::AlignLeft | Qt::AlignBottom);
  side->setRowStretch(3, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(list_, 1);
  layout->addLayout(side);

  list_->fill(Vocabulary::Picture, 0, kLastPictureId);
  list_->showId(param_.pictureId);
  const bool iconMode = param_.mode == CAnimation::kIcon;
  (iconMode ? icon_ : animation_)->setChecked(true);
  next_->setVisible(iconMode);
  looped_->setEnabled(!iconMode);
  looped_->setChecked(!iconMode && param_.mode == CAnimation::kLooped);
  pictureSelected(param_.pictureId);

  connect(list_, &VocabularyList::idSelected, this, &CAnimationDlg::pictureSelected);
  connect(animation_, &QRadioButton::clicked, this, &CAnimationDlg::animationChosen);
  connect(icon_, &QRadioButton::clicked, this, &CAnimationDlg::iconChosen);
  connect(looped_, &QCheckBox::clicked, this, &CAnimationDlg::loopedChanged);
  connect(next_, &QPushButton::clicked, this, &CAnimationDlg::nextIcon);
}

// The id is kept whether or not the build has a picture for it.
void CAnimationDlg::pictureSelected(uint16_t pictureId) {
  param_.pictureId = pictureId;
  preview_->unload();
  const bool loaded = preview_->loadPicture(*pictures_, pictureId);
  preview_->setVisible(loaded);
  next_->setEnabled(loaded);
  if (!loaded) return;
  if (param_.mode == CAnimation::kIcon) {
    iconChosen();
  } else {
    animationChosen();
  }
}

void CAnimationDlg::animationChosen() {
  next_->hide();
  looped_->setEnabled(true);
  loopedChanged();
}

void CAnimationDlg::loopedChanged() {
  const bool loop = looped_->isChecked();
  param_.mode = loop ? CAnimation::kLooped : CAnimation::kOnce;
  preview_->stop();
  preview_->start(loop);
}

// Shows the stored icon: steps from the first frame until the frame's icon
// number reaches the stored one, for one cycle at the most.
void CAnimationDlg::iconChosen() {
  param_.mode = CAnimation::kIcon;
  next_->show();
  looped_->setEnabled(false);
  if (!preview_->isLoaded()) return;
  const int frames = preview_->frameCount();
  if (frames < param_.iconNumber) param_.iconNumber = 1;
  preview_->stop();
  int frame = preview_->step();
  for (int steps = 1; steps < frames && iconNumberOf(frame) < param_.iconNumber; ++steps) frame = preview_->step();
}

void CAnimationDlg::nextIcon() {
  const int frame = preview_->step();
  if (frame >= 0) param_.iconNumber = uint8_t(std::min(iconNumberOf(frame), 255));
}

int CAnimationDlg::iconNumberOf(int frame) const { return preview_->delaySum(frame) / 10 + 1; }

}  // namespace vtq
