// The dialog of a picture parameter: the picture names, "&Animation" (played
// once or, with "Looped", looped) or "&Icon" (one frame of the picture, the
// icon number, stepped on with "->"), and a preview of the picture.
#pragma once

#include <QtWidgets/QWidget>
#include <memory>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace vtq {

class CAnimation;
class CGifPreview;
class PictureSource;
class VocabularyList;

class CAnimationDlg : public QWidget {
  Q_OBJECT

 public:
  CAnimationDlg(CAnimation& param, std::shared_ptr<const PictureSource> pictures, QWidget* parent = nullptr);

  QRadioButton* animationButton() const { return animation_; }
  QRadioButton* iconButton() const { return icon_; }
  QCheckBox* loopedBox() const { return looped_; }
  VocabularyList* list() const { return list_; }
  CGifPreview* preview() const { return preview_; }
  QPushButton* nextButton() const { return next_; }

 private:
  void pictureSelected(uint16_t pictureId);
  void animationChosen();
  void loopedChanged();
  void iconChosen();
  void nextIcon();
  // (delays of frames 0 to frame - 1, in hundredths of a second) / 10 + 1
  int iconNumberOf(int frame) const;

  CAnimation& param_;
  std::shared_ptr<const PictureSource> pictures_;
  QRadioButton* animation_;
  QRadioButton* icon_;
  QCheckBox* looped_;
  VocabularyList* list_;
  CGifPreview* preview_;
  QPushButton* next_;
};

}  // namespace vtq
