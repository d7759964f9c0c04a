// The dialog of a sound parameter: "&Sound FX" (ids 0 to 62) or "&Voice
// Over" (63 to 511), a list of their names and "&Play", which previews the
// chosen sound while the dialog stays usable.
#pragma once

#include <QtWidgets/QWidget>
#include <functional>

class QRadioButton;
class QPushButton;

namespace vtq {

class CPlaySound;
class VocabularyList;

class CPlaySoundDlg : public QWidget {
  Q_OBJECT

 public:
  // Starts the preview of a sound resource (":/sounds/<id>.wav").
  using PlayPreview = std::function<void(const QString& resourcePath)>;

  // Without `play`, sounds go through a SoundPlayer of the dialog's own.
  CPlaySoundDlg(CPlaySound& param, QWidget* parent = nullptr, PlayPreview play = {});

  QRadioButton* soundButton() const { return sound_; }
  QRadioButton* voiceButton() const { return voice_; }
  VocabularyList* list() const { return list_; }
  QPushButton* playButton() const { return play_; }

 private:
  void showRange(bool voices);

  CPlaySound& param_;
  QRadioButton* sound_;
  QRadioButton* voice_;
  VocabularyList* list_;
  QPushButton* play_;
};

}  // namespace vtq
