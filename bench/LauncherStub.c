/* Stands in for the editor in the launcher benchmark: tells the benchmark it was started. */
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

int main(void) {
  const char* fifo = getenv("VORN_STUB_FIFO");
  int fd = fifo ? open(fifo, O_WRONLY) : -1;
  if (fd >= 0) {
    (void)write(fd, "s", 1);
    close(fd);
  }
  return 0;
}
