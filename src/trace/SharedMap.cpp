#include "SharedMap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "SharedAccess.h"

bool TSharedMap::Open(const std::string& Name) { return OpenUnmapped(Name) && MapAll(); }

bool TSharedMap::OpenUnmapped(const std::string& Name) {
  Close();
  fHandle = ::shm_open(Name.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0);
  if (fHandle < 0) return false;
  struct stat st {};
  if (::fstat(fHandle, &st) == 0 && IsPrivateObject(st)) return true;
  Close();
  errno = EACCES;
  return false;
}

bool TSharedMap::Create(const std::string& Name, uint32_t Size) {
  Close();
  fHandle = ::shm_open(Name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fHandle < 0) return false;
  if (::ftruncate(fHandle, static_cast<off_t>(Size)) == 0 && MapAll()) return true;
  Close();  // MapAll may have closed already; twice is harmless
  ::shm_unlink(Name.c_str());
  return false;
}

bool TSharedMap::MapAll() {
  struct stat st {};
  void* view = MAP_FAILED;
  if (fHandle >= 0 && ::fstat(fHandle, &st) == 0 && st.st_size > 0)
    view = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ | PROT_WRITE, MAP_SHARED, fHandle, 0);
  if (view == MAP_FAILED) {
    Close();
    return false;
  }
  fView = static_cast<uint8_t*>(view);
  fSize = static_cast<size_t>(st.st_size);
  return true;
}

bool TSharedMap::IsWhole() const {
  struct stat st {};
  return IsOpen() && ::fstat(fHandle, &st) == 0 && st.st_size >= 0 && static_cast<size_t>(st.st_size) >= fSize;
}

bool TSharedMap::ReadHead(void* Dest, size_t Count) const {
  return fHandle >= 0 && ::pread(fHandle, Dest, Count, 0) == static_cast<ssize_t>(Count);
}

void TSharedMap::Close() {
  const int error = errno;  // callers report the failure that made them close
  if (fView) ::munmap(fView, fSize);
  if (fHandle >= 0) ::close(fHandle);
  fView = nullptr;
  fSize = 0;
  fHandle = -1;
  errno = error;
}

void TSharedMap::Unlink(const std::string& Name) { ::shm_unlink(Name.c_str()); }
