"""A plain pyftpdlib server for the FTP benchmark (bench/ftp-vs-curl): serves ROOT with
write rights to "anonymous" on 127.0.0.1 and a port the system picks, prints
"listening on 127.0.0.1:PORT" and stops on SIGTERM or after LIMIT seconds.

    /usr/bin/python3 plain_ftp_server.py ROOT [LIMIT]
"""
import logging
import signal
import sys
import time
import warnings

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    root = sys.argv[1]
    limit = float(sys.argv[2]) if len(sys.argv) > 2 else 60.0
    logging.basicConfig(level=logging.ERROR)
    warnings.simplefilter("ignore")
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(root, perm="elradfmw")
    handler = type("Handler", (FTPHandler,), {"authorizer": authorizer})
    server = FTPServer(("127.0.0.1", 0), handler)
    print("listening on 127.0.0.1:%d" % server.socket.getsockname()[1], flush=True)

    def stop(signum, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, stop)
    deadline = time.monotonic() + limit
    try:
        while time.monotonic() < deadline:
            server.serve_forever(timeout=0.2, blocking=False, handle_exit=False)
    except KeyboardInterrupt:
        pass
    finally:
        server.close_all()


if __name__ == "__main__":
    main()
