# A throw-away FTP server for the upload tests: one user, one root folder,
# listening on 127.0.0.1 only. Prints its port on the first line of output.
# Arguments: root user password port bytes-per-second (0 = unthrottled).
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

root, user, password, port, rate = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
logging.basicConfig(level=logging.CRITICAL)

authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmwMT")


class Handler(FTPHandler):
    pass


Handler.authorizer = authorizer
# Failed logins are answered at once, so the tests need not wait.
Handler.auth_failed_timeout = 0.1
if rate > 0:
    class Throttled(ThrottledDTPHandler):
        pass
    Throttled.read_limit = rate
    Handler.dtp_handler = Throttled

server = FTPServer(("127.0.0.1", port), Handler)
print(server.socket.getsockname()[1], flush=True)
server.serve_forever()
