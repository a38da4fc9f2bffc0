#include "store/maildir/header_block.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>

#include "store/maildir/maildir_files.h"

namespace zandor::maildir {
namespace {

// The end of the header block in data: the offset just past the empty line,
// or -1 when the block goes on. A file that starts with an empty line has an
// empty header.
qsizetype HeaderEnd(const QByteArray& data, qsizetype searchFrom) {
  if (data.startsWith('\n')) return 1;
  if (data.startsWith("\r\n")) return 2;
  for (qsizetype i = std::max<qsizetype>(searchFrom, 1); i < data.size(); ++i) {
    if (data[i] != '\n') continue;
    if (data[i - 1] == '\n') return i + 1;
    if (i >= 2 && data[i - 1] == '\r' && data[i - 2] == '\n') return i + 1;
  }
  return -1;
}

}  // namespace

StoreResult<HeaderBlock> ReadHeaderBlock(const QByteArray& path, int* errorOut,
                                         qsizetype maxBytes) {
  auto fail = [&](int error) {
    if (errorOut != nullptr) *errorOut = error;
    //: %1 is a message file, %2 the system's reason
    return FailureOf(FailureKind::Message, QT_TRANSLATE_NOOP("MaildirFiles", "cannot read %1: %2"),
                     path, error);
  };
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return fail(errno);
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};

  struct stat info {};
  if (::fstat(fd, &info) != 0) return fail(errno);
  HeaderBlock block{QByteArray(), static_cast<qint64>(info.st_mtim.tv_sec) * 1000 +
                                      info.st_mtim.tv_nsec / 1000000};

  constexpr qsizetype kChunk = 16 * 1024;
  qsizetype scanned = 0;
  while (block.bytes.size() < maxBytes) {
    const qsizetype old = block.bytes.size();
    const qsizetype want = std::min(kChunk, maxBytes - old);
    block.bytes.resize(old + want);
    ssize_t got = 0;
    do {
      got = ::read(fd, block.bytes.data() + old, static_cast<size_t>(want));
    } while (got < 0 && errno == EINTR);
    if (got < 0) return fail(errno);
    block.bytes.resize(old + got);
    const qsizetype end = HeaderEnd(block.bytes, std::max<qsizetype>(scanned - 2, 0));
    if (end >= 0) {
      block.bytes.truncate(end);
      return block;
    }
    scanned = block.bytes.size();
    if (got == 0) break;  // the whole file is header
  }
  return block;
}

}  // namespace zandor::maildir
