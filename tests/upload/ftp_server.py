# A throw-away FTP server for the upload tests: one user, one root folder,
# listening on 127.0.0.1 only. Prints its port on the first line of output.
# Arguments: root user password port bytes-per-second (0 = unthrottled)
# [tls certificate]: tls is "none", "explicit" (AUTH TLS, then TLS on the
# data connections as well) or "implicit" (TLS from the first byte); the
# certificate file holds the certificate and its key.
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

root, user, password, port, rate = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5])
tls = sys.argv[6] if len(sys.argv) > 6 else "none"
certfile = sys.argv[7] if len(sys.argv) > 7 else ""
logging.basicConfig(level=logging.CRITICAL)

authorizer = DummyAuthorizer()
authorizer.add_user(user, password, root, perm="elradfmwMT")

if tls == "none":
    class Handler(FTPHandler):
        pass
else:
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class Handler(TLS_FTPHandler):
        pass
    class DTP(TLS_DTPHandler):
        # A client may start the TLS handshake of a data connection before
        # it sends the transfer command; pyftpdlib would take that early
        # data for a closed connection.
        def readable(self):
            if self._ssl_accepting:
                return True
            if self._ssl_established and not self.receive and not self._initialized:
                return False
            return TLS_DTPHandler.readable(self)
    Handler.dtp_handler = DTP
    Handler.certfile = certfile
    Handler.tls_control_required = True
    Handler.tls_data_required = True
    if tls == "implicit":
        # The handshake comes first; the greeting follows it.
        def handle(self):
            self.secure_connection(self.ssl_context)

        def handle_ssl_established(self):
            TLS_FTPHandler.handle(self)
        Handler.handle = handle
        Handler.handle_ssl_established = handle_ssl_established

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
