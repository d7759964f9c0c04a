#include "document_flows.h"

#include <QtCore/QFileInfo>

namespace vtq {
namespace {

std::filesystem::path toPath(const QString& name) { return std::filesystem::path(name.toStdString()); }

}  // namespace

bool DocumentFlows::createDocument() {
  for (;;) {
    // Cancel (in the file dialog or at the overwrite question) ends the
    // operation; at start-up, without a document, it ends the program. A file
    // that cannot be opened or written asks again while there is no document.
    const bool mustChoose = isUntitled();
    const QString name = prompts_.createDocumentName();
    if (name.isEmpty()) return false;
    if (QFileInfo::exists(name)) {
      const OverwriteChoice choice = prompts_.overwriteExisting();
      if (choice == OverwriteChoice::Cancel) return false;
      if (choice == OverwriteChoice::OpenExisting) {
        if (openDocument(name)) return true;
        if (mustChoose) continue;
        return false;
      }
    }
    if (replaceWithNew(name)) return true;
    if (!mustChoose) return false;
  }
}

bool DocumentFlows::replaceWithNew(const QString& path) {
  DocumentError error;
  if (!document_.newDocument(toPath(path), error)) {
    reportError(error);
    return false;
  }
  recent_.add(path);
  opened();
  return true;
}

bool DocumentFlows::openDocument(const QString& path) {
  DocumentError error;
  if (!document_.openDocument(toPath(path), error)) {
    reportError(error);
    return false;
  }
  recent_.add(path);
  opened();
  return true;
}

bool DocumentFlows::openWithDialog() {
  const QString name = prompts_.openDocumentName();
  return !name.isEmpty() && openDocument(name);
}

bool DocumentFlows::save() {
  if (isUntitled()) return saveAs();
  return write(document_.path(), [this](DocumentError& error) { return document_.saveDocument(error); });
}

bool DocumentFlows::saveAs() {
  const QString name = prompts_.saveDocumentName(QString::fromStdString(document_.path().string()));
  if (name.isEmpty()) return false;
  if (!write(toPath(name), [&](DocumentError& error) { return document_.saveDocumentAs(toPath(name), error); }))
    return false;
  recent_.add(name);
  return true;
}

bool DocumentFlows::saveModified() {
  if (!document_.isModified()) return true;
  switch (prompts_.saveChanges(QString::fromStdString(document_.title()))) {
    case SaveChoice::Save: return save();
    case SaveChoice::Discard: return true;
    case SaveChoice::Cancel: break;
  }
  return false;
}

bool DocumentFlows::startUp(const std::optional<QString>& named) {
  if (named && openDocument(*named)) return true;
  if (!recent_.entries().isEmpty()) {
    const QString mostRecent = recent_.entries().first();
    if (openDocument(mostRecent)) return true;
    recent_.remove(mostRecent);
  }
  return createDocument();
}

void DocumentFlows::opened() {
  for (DocumentFileHooks* hooks : hooks_) hooks->documentOpened();
}

bool DocumentFlows::write(const std::filesystem::path& target, const std::function<bool(DocumentError&)>& save) {
  bool allowed = true;
  for (DocumentFileHooks* hooks : hooks_) allowed = allowed && hooks->beforeSave(target);
  DocumentError error;
  const bool saved = allowed && save(error);
  for (DocumentFileHooks* hooks : hooks_) hooks->afterSave(saved);
  if (allowed && !saved) reportError(error);
  return saved;
}

void DocumentFlows::reportError(const DocumentError& error) {
  prompts_.error(QString::fromStdString(error.message), QString::fromStdString(error.detail));
}

}  // namespace vtq
