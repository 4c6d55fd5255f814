#include "data/file_error_text.h"

#include <cerrno>

namespace ampelsim {

std::string FileErrorText(const std::error_code& error) {
  if (error.category() == std::generic_category() || error.category() == std::system_category()) {
    switch (error.value()) {
      case ENOSPC:
      case EDQUOT:
        return "der Datenträger ist voll";
      case EFBIG:
        return "die Datei überschreitet die erlaubte Größe";
      case EACCES:
      case EPERM:
        return "keine Berechtigung";
      case EROFS:
        return "das Dateisystem ist schreibgeschützt";
      case ENOENT:
        return "der Ordner existiert nicht (mehr)";
      case ENOTDIR:
        return "ein Teil des Pfades ist kein Ordner";
      case EIO:
        return "Ein-/Ausgabefehler";
      default:
        break;
    }
  }
  return error.message();
}

}  // namespace ampelsim
