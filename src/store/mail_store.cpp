#include "store/mail_store.h"

namespace zandor {

QDateTime NeverSentDate() {
  return QDateTime(QDate(1968, 1, 31), QTime(0, 0));
}

}  // namespace zandor
