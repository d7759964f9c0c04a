#include "command_clipboard.h"

#include <QtCore/QMimeData>

namespace vtq {

std::unique_ptr<QMimeData> commandsMimeData(const std::vector<const CCommand*>& commands) {
  auto data = std::make_unique<QMimeData>();
  const std::string csv = encodeCommandList(commands, ListSeparator::Comma);
  data->setData(QString::fromUtf8(kCsvMimeType), QByteArray(csv.data(), qsizetype(csv.size())));
  data->setText(QString::fromStdString(encodeCommandList(commands, ListSeparator::Tab)));
  return data;
}

bool commandsFromMimeData(const QMimeData& data, std::vector<std::unique_ptr<CCommand>>& commands,
                          ListReadError& error) {
  const QString csvType = QString::fromUtf8(kCsvMimeType);
  if (data.hasFormat(csvType)) {
    const QByteArray csv = data.data(csvType);
    if (!decodeCommandList(std::string_view(csv.constData(), size_t(csv.size())), ListSeparator::Comma,
                           ListHeader::Optional, commands, error)) {
      return false;
    }
  } else {
    const std::string text = data.text().toStdString();
    if (!decodeCommandList(text, ListSeparator::Tab, ListHeader::Optional, commands, error)) return false;
  }
  if (!commands.empty()) return true;
  error = {};
  error.reason = "the clipboard holds no commands";
  return false;
}

}  // namespace vtq
