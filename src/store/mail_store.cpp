#include "store/mail_store.h"

#include <unistd.h>

namespace zandor {

DescriptorLock::~DescriptorLock() {
  ::close(fd_);
}

QDateTime NeverSentDate() {
  return QDateTime(QDate(1968, 1, 31), QTime(0, 0));
}

}  // namespace zandor
