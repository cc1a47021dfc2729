/* Counts console exchanges: a loopback TCP relay in front of the router
 * simulator that counts the connections it accepts, so a benchmark knows
 * how many polls a client made without asking the client.
 *
 *   countproxy TARGET_PORT COUNT_FILE
 *
 * Listens on a free 127.0.0.1 port and prints "listening PORT". After each
 * accepted connection COUNT_FILE holds the number accepted so far. Relays
 * bytes both ways. The router closing is passed on to the client; the
 * client closing ends the pair at once (the program never half-closes, and
 * a router that never closes must not keep the pair). */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <errno.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

enum { kMaxPairs = 256 };

struct Pair {
  int fd[2];   /* 0: client, 1: router */
  int open[2]; /* reading side still open */
};

static struct Pair pairs[kMaxPairs];
static int pairCount = 0;

static int loopbackSocket(int port, int listenToo) {
  struct sockaddr_in a;
  memset(&a, 0, sizeof a);
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons((unsigned short)port);
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (listenToo) {
    if (bind(fd, (struct sockaddr*)&a, sizeof a) != 0 || listen(fd, 64) != 0) return -1;
  } else if (connect(fd, (struct sockaddr*)&a, sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

static void closePair(int i) {
  close(pairs[i].fd[0]);
  close(pairs[i].fd[1]);
  pairs[i] = pairs[--pairCount];
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s TARGET_PORT COUNT_FILE\n", argv[0]);
    return 2;
  }
  int target = atoi(argv[1]);
  int countFd = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  int lfd = loopbackSocket(0, 1);
  if (lfd < 0 || countFd < 0) {
    perror("countproxy");
    return 1;
  }
  struct sockaddr_in a;
  socklen_t len = sizeof a;
  getsockname(lfd, (struct sockaddr*)&a, &len);
  printf("listening %d\n", ntohs(a.sin_port));
  fflush(stdout);

  long accepted = 0;
  struct pollfd pfd[1 + 2 * kMaxPairs];
  char buf[16384];
  for (;;) {
    int n = 0;
    pfd[n++] = (struct pollfd){lfd, POLLIN, 0};
    for (int i = 0; i < pairCount; ++i)
      for (int s = 0; s < 2; ++s) pfd[n++] = (struct pollfd){pairs[i].open[s] ? pairs[i].fd[s] : -1, POLLIN, 0};
    if (poll(pfd, (nfds_t)n, -1) < 0) {
      if (errno == EINTR) continue;
      return 1;
    }
    for (int i = pairCount - 1; i >= 0; --i) {
      for (int s = 0; s < 2; ++s) {
        if (!(pfd[1 + 2 * i + s].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        ssize_t got = read(pairs[i].fd[s], buf, sizeof buf);
        if (got > 0) {
          if (write(pairs[i].fd[1 - s], buf, (size_t)got) != got) got = 0;
        }
        if (got <= 0) {
          pairs[i].open[s] = 0;
          shutdown(pairs[i].fd[1 - s], SHUT_WR);
        }
      }
      if (!pairs[i].open[0]) closePair(i);
    }
    if (pfd[0].revents & POLLIN) {
      int c = accept4(lfd, NULL, NULL, SOCK_CLOEXEC);
      if (c < 0) continue;
      int r = pairCount < kMaxPairs ? loopbackSocket(target, 0) : -1;
      if (r < 0) {
        close(c);
        continue;
      }
      pairs[pairCount++] = (struct Pair){{c, r}, {1, 1}};
      char text[32];
      int tl = snprintf(text, sizeof text, "%ld\n", ++accepted);
      if (pwrite(countFd, text, (size_t)tl, 0) < 0) return 1;
    }
  }
}
