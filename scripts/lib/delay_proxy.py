#!/usr/bin/env python3
"""A network between a client and a server on one machine, for tests and the
benchmark: a TCP proxy on loopback that passes every byte on, both ways, a
fixed time after it arrived, as a link with that one-way delay does. A new
connection also waits one round trip before its first byte goes on, as TCP's
handshake makes a client wait. Nothing else of a network is played (no loss,
no bandwidth limit).

    delay_proxy.py TARGET_PORT ONE_WAY_MS

It listens on a free port of 127.0.0.1, writes that port on its standard
output (one line), and forwards each connection to 127.0.0.1:TARGET_PORT
until it is ended by a signal."""
import asyncio
import sys

CHUNK = 65536
# Chunks one side may have on its way before the proxy stops reading it
# (8 MB): a sender that outruns the link waits, as it would on a real one.
IN_FLIGHT = 128


async def way(reader, writer, delay, first_leaves):
    """Bytes read from reader go to writer `delay` seconds later; none leaves
    before first_leaves (loop time). The end of reader shuts writer."""
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue(IN_FLIGHT)

    async def send():
        while True:
            due, data = await queue.get()
            await asyncio.sleep(max(0.0, due - loop.time()))
            if not data:
                writer.write_eof()
                return
            writer.write(data)
            await writer.drain()

    sender = asyncio.create_task(send())
    try:
        while True:
            data = await reader.read(CHUNK)
            await queue.put((max(loop.time(), first_leaves) + delay, data))
            if not data:
                break
        await sender
    except (ConnectionError, OSError):
        sender.cancel()
        raise


async def link(client_reader, client_writer, port, delay):
    loop = asyncio.get_running_loop()
    opened = loop.time()
    try:
        server_reader, server_writer = await asyncio.open_connection("127.0.0.1", port)
    except OSError:
        print("delay_proxy: the target refused", file=sys.stderr)
        client_writer.close()
        return
    try:
        await asyncio.gather(way(client_reader, server_writer, delay, opened + 2 * delay),
                             way(server_reader, client_writer, delay, opened))
    except (ConnectionError, OSError):
        pass
    finally:
        client_writer.close()
        server_writer.close()


async def main():
    if len(sys.argv) != 3:
        sys.exit("usage: delay_proxy.py TARGET_PORT ONE_WAY_MS")
    port, delay = int(sys.argv[1]), int(sys.argv[2]) / 1000
    server = await asyncio.start_server(lambda r, w: link(r, w, port, delay), "127.0.0.1", 0)
    print(server.sockets[0].getsockname()[1], flush=True)
    await server.serve_forever()


asyncio.run(main())
