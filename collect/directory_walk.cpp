#include "collect/directory_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_set>
#include <utility>

namespace wordlap::collect {
namespace {

constexpr int kDirectoryFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

// Descriptors held open along the current chain besides the root's. A
// deeper chain closes its shallower directories and opens them again, each
// checked against the identity it had, when the walk comes back to them.
constexpr std::size_t kOpenLimit = 64;

struct Subdirectory {
  std::string name;
  bool through_link = false;
};

struct Frame {
  std::string name;  // relative to the parent's descriptor
  FileIdentity identity;
  bool through_link = false;
  int fd = -1;
  std::size_t prefix_length = 0;  // of its path and a '/' in Walker::path_
  std::vector<Subdirectory> pending;
};

class Walker {
 public:
  Walker(bool follow_links, const WarningSink& warn,
         std::vector<WalkedFile>& files, const std::atomic<int>* stop)
      : follow_links_(follow_links), warn_(warn), files_(files), stop_(stop) {}
  Walker(const Walker&) = delete;
  Walker& operator=(const Walker&) = delete;
  ~Walker() {
    for (const Frame& frame : frames_) {
      if (frame.fd >= 0) ::close(frame.fd);
    }
  }

  void Run(const std::string& root, int fd, FileIdentity identity) {
    path_ = root;
    if (!path_.ends_with('/')) path_ += '/';
    frames_.push_back({root, identity, false, fd, path_.size(), {}});
    chain_.insert(identity);
    ReadEntries(frames_.back());
    while (!frames_.empty()) {
      if (stop_ != nullptr && stop_->load(std::memory_order_relaxed) != 0) {
        return;
      }
      Frame& top = frames_.back();
      if (top.pending.empty()) {
        Leave();
        continue;
      }
      if (top.fd < 0 && !Reopen(frames_.size() - 1)) {
        top.pending.clear();
        continue;
      }
      Subdirectory next = std::move(top.pending.back());
      top.pending.pop_back();
      Enter(std::move(next));
    }
  }

 private:
  std::string PathOf(std::string_view name) const {
    std::string path = path_;
    path += name;
    return path;
  }

  void Warn(const std::string& what, int error) {
    warn_(what + ": " + std::strerror(error));
  }

  static int FlagsFor(bool through_link) {
    return kDirectoryFlags | (through_link ? 0 : O_NOFOLLOW);
  }

  void Enter(Subdirectory sub) {
    Frame& parent = frames_.back();
    const int fd =
        ::openat(parent.fd, sub.name.c_str(), FlagsFor(sub.through_link));
    if (fd < 0) {
      // ELOOP or ENOTDIR: it was swapped for a link or a file since it was
      // read; the walk does not follow it.
      Warn("cannot read directory " + PathOf(sub.name), errno);
      return;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
      Warn("cannot read directory " + PathOf(sub.name), errno);
      ::close(fd);
      return;
    }
    const FileIdentity identity = FileIdentity::Of(status);
    // A directory met again inside itself (a link or a bind mount back up
    // the chain) would be walked forever.
    if (chain_.contains(identity)) {
      ::close(fd);
      return;
    }
    path_.resize(parent.prefix_length);
    path_ += sub.name;
    path_ += '/';
    frames_.push_back({std::move(sub.name),
                       identity,
                       sub.through_link,
                       fd,
                       path_.size(),
                       {}});
    chain_.insert(identity);
    ++open_;
    CloseShallowest();
    ReadEntries(frames_.back());
  }

  void Leave() {
    Frame& top = frames_.back();
    if (top.fd >= 0) {
      ::close(top.fd);
      if (frames_.size() > 1) --open_;
    }
    chain_.erase(top.identity);
    frames_.pop_back();
    if (!frames_.empty()) path_.resize(frames_.back().prefix_length);
    if (first_open_ > frames_.size()) first_open_ = frames_.size();
  }

  void CloseShallowest() {
    while (open_ > kOpenLimit && first_open_ + 1 < frames_.size()) {
      Frame& frame = frames_[first_open_++];
      if (frame.fd >= 0) {
        ::close(frame.fd);
        frame.fd = -1;
        --open_;
      }
    }
  }

  // Opens frame `index` again from its nearest open ancestor, one name at a
  // time, each directory checked to be the one walked before.
  bool Reopen(std::size_t index) {
    std::size_t open = index;
    while (frames_[open].fd < 0) --open;  // the root stays open
    for (std::size_t k = open + 1; k <= index; ++k) {
      Frame& frame = frames_[k];
      const int fd = ::openat(frames_[k - 1].fd, frame.name.c_str(),
                              FlagsFor(frame.through_link));
      struct stat status;
      if (fd < 0 || ::fstat(fd, &status) != 0 ||
          FileIdentity::Of(status) != frame.identity) {
        if (fd >= 0) ::close(fd);
        std::string path = path_.substr(0, frame.prefix_length - 1);
        warn_("directory " + path + " changed during the walk; left out");
        return false;
      }
      frame.fd = fd;
      ++open_;
    }
    first_open_ = std::min(first_open_, open + 1);
    CloseShallowest();
    return true;
  }

  // Reads the entries straight from the directory's own descriptor, in
  // large batches: a walk of many small folders spends its time in system
  // calls.
  void ReadEntries(Frame& frame) {
    alignas(dirent64) char buffer[1 << 15];
    while (true) {
      const ssize_t n = ::getdents64(frame.fd, buffer, sizeof buffer);
      if (n == 0) return;
      if (n < 0) {
        if (errno == EINTR) continue;
        Warn(
            "cannot read all of directory " + path_.substr(0, path_.size() - 1),
            errno);
        return;
      }
      for (ssize_t at = 0; at < n;) {
        const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
        at += entry->d_reclen;
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        Consider(frame, name, entry->d_type);
      }
    }
  }

  void Consider(Frame& frame, std::string_view name, unsigned char type) {
    std::string entry(name);
    // A directory needs no look of its own: it is opened, without following
    // a link, and looked at through its descriptor.
    if (type == DT_DIR) {
      frame.pending.push_back({std::move(entry), false});
      return;
    }
    if (type == DT_LNK && !follow_links_) return;
    struct stat status;
    if (::fstatat(frame.fd, entry.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
      Warn("cannot read " + PathOf(name), errno);
      return;
    }
    bool through_link = false;
    if (S_ISLNK(status.st_mode)) {
      if (!follow_links_) return;
      if (::fstatat(frame.fd, entry.c_str(), &status, 0) != 0) {
        Warn("broken link " + PathOf(name), errno);
        return;
      }
      through_link = true;
    }
    if (S_ISREG(status.st_mode)) {
      files_.push_back({PathOf(name), FileIdentity::Of(status)});
    } else if (S_ISDIR(status.st_mode)) {
      frame.pending.push_back({std::move(entry), through_link});
    }
  }

  bool follow_links_;
  const WarningSink& warn_;
  std::vector<WalkedFile>& files_;
  const std::atomic<int>* stop_;
  std::vector<Frame> frames_;
  std::unordered_set<FileIdentity, FileIdentityHash> chain_;
  std::string path_;  // of the deepest frame, ending in '/'
  std::size_t open_ = 0;
  std::size_t first_open_ = 1;
};

}  // namespace

void WalkDirectory(const std::string& root, bool follow_links,
                   const WarningSink& warn, std::vector<WalkedFile>& files,
                   const std::atomic<int>* stop) {
  struct stat status;
  if (::stat(root.c_str(), &status) != 0) {
    warn("cannot read " + root + ": " + std::strerror(errno));
    return;
  }
  if (!S_ISDIR(status.st_mode)) {
    files.push_back({root, FileIdentity::Of(status)});
    return;
  }
  const int fd = ::open(root.c_str(), kDirectoryFlags);
  struct stat opened;
  if (fd < 0 || ::fstat(fd, &opened) != 0) {
    warn("cannot read directory " + root + ": " + std::strerror(errno));
    if (fd >= 0) ::close(fd);
    return;
  }
  Walker walker(follow_links, warn, files, stop);
  walker.Run(root, fd, FileIdentity::Of(opened));
}

}  // namespace wordlap::collect
