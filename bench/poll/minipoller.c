/* The floor for a poll cycle: what the kernel's loopback TCP costs for one
 * console exchange and nothing else. Connect, send the poll batch in one
 * write, read until the router closes, repeat.
 *
 *   minipoller PORT COUNT [INTERVAL_MS [PASSWORD]]
 *
 * Prints the polls done and this process's CPU time per poll. Talks to
 * 127.0.0.1 only. */
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

static double cpuSeconds(void) {
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

static int pollOnce(const struct sockaddr_in* addr, const char* batch, size_t len) {
  char buf[8192];
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  if (connect(fd, (const struct sockaddr*)addr, sizeof *addr) != 0) {
    close(fd);
    return -1;
  }
  if (write(fd, batch, len) != (ssize_t)len) {
    close(fd);
    return -1;
  }
  ssize_t n;
  long total = 0;
  while ((n = read(fd, buf, sizeof buf)) > 0) total += n;
  close(fd);
  return total > 0 ? 0 : -1;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s PORT COUNT [INTERVAL_MS [PASSWORD]]\n", argv[0]);
    return 2;
  }
  int port = atoi(argv[1]);
  long count = atol(argv[2]);
  long intervalMs = argc > 3 ? atol(argv[3]) : 0;
  const char* password = argc > 4 ? argv[4] : "";

  /* The poll batch, byte for byte as the program sends it. */
  char batch[256];
  if (*password)
    snprintf(batch, sizeof batch, "\radmin\r%s\rsys kc s\rsh s\r\rl\r", password);
  else
    snprintf(batch, sizeof batch, "\radmin\rsys kc s\rsh s\r\rl\r");
  size_t len = strlen(batch);

  struct sockaddr_in addr;
  memset(&addr, 0, sizeof addr);
  addr.sin_family = AF_INET;
  addr.sin_port = htons((unsigned short)port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);

  long done = 0, failed = 0;
  double cpu0 = cpuSeconds();
  struct timespec next;
  clock_gettime(CLOCK_MONOTONIC, &next);
  for (long i = 0; i < count; ++i) {
    if (pollOnce(&addr, batch, len) == 0)
      ++done;
    else
      ++failed;
    if (intervalMs > 0) {
      next.tv_nsec += intervalMs * 1000000L;
      while (next.tv_nsec >= 1000000000L) {
        next.tv_nsec -= 1000000000L;
        ++next.tv_sec;
      }
      clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    }
  }
  double cpu = cpuSeconds() - cpu0;
  printf("polls %ld failed %ld cpu_s %.4f cpu_us_per_poll %.1f\n", done, failed, cpu,
         done ? cpu * 1e6 / done : 0.0);
  return failed == count ? 1 : 0;
}
