/* A network between a client and a server on one machine, for tests: a TCP
 * proxy on loopback that passes every byte on, both ways, a fixed time
 * after it arrived, as a link with that one-way delay does. A new
 * connection also waits one round trip before its first byte goes on, as
 * TCP's handshake makes a client wait. Nothing else of a network is played
 * (no loss, no bandwidth limit).
 *
 *   delay_proxy TARGET_PORT ONE_WAY_MS
 *
 * It listens on a free port of 127.0.0.1, writes that port on its standard
 * output (one line), and forwards each connection to 127.0.0.1:TARGET_PORT
 * until it is ended by a signal. */
#define _GNU_SOURCE
#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

enum { kMaxLinks = 64, kChunk = 65536 };
/* What one side may have on its way before the proxy stops reading it:
 * a sender that outruns the link waits, as it would on a real one. */
static const size_t kMaxInFlight = 8u << 20;

struct Chunk {
  struct Chunk* next;
  long long due; /* when it may go on, in ms */
  size_t length, sent;
  char data[];
};

/* One direction of a link: bytes read from `from` wait in the queue until
 * they are due, then go to `to`. */
struct Way {
  int from, to;
  struct Chunk *head, *tail;
  size_t queued;
  int ended; /* `from` has no more to send */
  int shut;  /* and `to` was told so */
};

struct Link {
  int used;
  long long opened;
  struct Way way[2]; /* client to server, server to client */
};

static struct Link links[kMaxLinks];
static long long delay_ms;

static long long now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

static void drop_queue(struct Way* way) {
  while (way->head) {
    struct Chunk* next = way->head->next;
    free(way->head);
    way->head = next;
  }
  way->tail = NULL;
  way->queued = 0;
}

static void close_link(struct Link* link) {
  drop_queue(&link->way[0]);
  drop_queue(&link->way[1]);
  close(link->way[0].from);
  close(link->way[0].to);
  link->used = 0;
}

static int connect_target(int port) {
  struct sockaddr_in address = {.sin_family = AF_INET, .sin_port = htons((unsigned short)port)};
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (connect(fd, (struct sockaddr*)&address, sizeof address) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}

static void accept_link(int listener, int target_port) {
  int client = accept4(listener, NULL, NULL, SOCK_CLOEXEC);
  if (client < 0) return;
  int server = connect_target(target_port);
  struct Link* link = NULL;
  for (int i = 0; i < kMaxLinks && !link; i++)
    if (!links[i].used) link = &links[i];
  if (server < 0 || !link) {
    fprintf(stderr, "delay_proxy: %s\n", server < 0 ? "the target refused" : "too many links");
    close(client);
    if (server >= 0) close(server);
    return;
  }
  int on = 1;
  setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  memset(link, 0, sizeof *link);
  link->used = 1;
  link->opened = now_ms();
  link->way[0].from = client;
  link->way[0].to = server;
  link->way[1].from = server;
  link->way[1].to = client;
}

/* Reads what `from` has; false when the link failed. */
static int read_way(struct Link* link, struct Way* way) {
  struct Chunk* chunk = malloc(sizeof *chunk + kChunk);
  if (!chunk) return 0;
  ssize_t got = read(way->from, chunk->data, kChunk);
  if (got <= 0) {
    free(chunk);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) return 1;
    way->ended = 1;
    return got == 0;
  }
  long long now = now_ms();
  /* The client's first bytes leave once the handshake's round trip is over. */
  long long leaves =
      way == &link->way[0] && now < link->opened + 2 * delay_ms ? link->opened + 2 * delay_ms : now;
  chunk->next = NULL;
  chunk->due = leaves + delay_ms;
  chunk->length = (size_t)got;
  chunk->sent = 0;
  if (way->tail)
    way->tail->next = chunk;
  else
    way->head = chunk;
  way->tail = chunk;
  way->queued += (size_t)got;
  return 1;
}

/* Sends what is due; false when the link failed. */
static int write_way(struct Way* way, long long now) {
  while (way->head && way->head->due <= now) {
    struct Chunk* chunk = way->head;
    ssize_t put = write(way->to, chunk->data + chunk->sent, chunk->length - chunk->sent);
    if (put < 0) return errno == EAGAIN || errno == EINTR;
    chunk->sent += (size_t)put;
    way->queued -= (size_t)put;
    if (chunk->sent < chunk->length) return 1;
    way->head = chunk->next;
    if (!way->head) way->tail = NULL;
    free(chunk);
  }
  if (way->ended && !way->head && !way->shut) {
    shutdown(way->to, SHUT_WR);
    way->shut = 1;
  }
  return 1;
}

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: delay_proxy TARGET_PORT ONE_WAY_MS\n");
    return 2;
  }
  int target_port = atoi(argv[1]);
  delay_ms = atoll(argv[2]);
  if (target_port <= 0 || target_port > 65535 || delay_ms < 0) {
    fprintf(stderr, "delay_proxy: bad port or delay\n");
    return 2;
  }
  signal(SIGPIPE, SIG_IGN);
  int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  struct sockaddr_in address = {.sin_family = AF_INET};
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener < 0 || bind(listener, (struct sockaddr*)&address, sizeof address) < 0 ||
      listen(listener, 64) < 0 || getsockname(listener, (struct sockaddr*)&address, &length) < 0) {
    perror("delay_proxy");
    return 1;
  }
  printf("%d\n", ntohs(address.sin_port));
  fflush(stdout);

  for (;;) {
    struct pollfd fds[1 + 4 * kMaxLinks];
    struct Way* ways[1 + 4 * kMaxLinks];
    struct Link* owners[1 + 4 * kMaxLinks];
    int count = 0;
    long long now = now_ms(), next_due = -1;
    fds[count].fd = listener;
    fds[count].events = POLLIN;
    ways[count++] = NULL;
    for (int i = 0; i < kMaxLinks; i++) {
      if (!links[i].used) continue;
      for (int w = 0; w < 2; w++) {
        struct Way* way = &links[i].way[w];
        if (!way->ended && way->queued < kMaxInFlight) {
          fds[count].fd = way->from;
          fds[count].events = POLLIN;
          owners[count] = &links[i];
          ways[count++] = way;
        }
        if (way->head && way->head->due <= now) {
          fds[count].fd = way->to;
          fds[count].events = POLLOUT;
          owners[count] = &links[i];
          ways[count++] = way;
        } else if (way->head && (next_due < 0 || way->head->due < next_due)) {
          next_due = way->head->due;
        }
      }
    }
    int timeout = next_due < 0 ? -1 : (int)(next_due > now ? next_due - now : 0);
    if (poll(fds, (nfds_t)count, timeout) < 0 && errno != EINTR) {
      perror("delay_proxy: poll");
      return 1;
    }
    if (fds[0].revents & POLLIN) accept_link(listener, target_port);
    for (int i = 1; i < count; i++) {
      if (!fds[i].revents) continue;
      struct Way* way = ways[i];
      struct Link* link = owners[i];
      if (!link->used) continue;
      int ok = fds[i].events == POLLIN ? read_way(link, way) : 1;
      if (!ok) close_link(link);
    }
    now = now_ms();
    for (int i = 0; i < kMaxLinks; i++) {
      struct Link* link = &links[i];
      if (!link->used) continue;
      if (!write_way(&link->way[0], now) || !write_way(&link->way[1], now)) {
        close_link(link);
        continue;
      }
      /* Both sides said all they had, and all of it went on. */
      if (link->way[0].shut && link->way[1].shut) close_link(link);
    }
  }
}
