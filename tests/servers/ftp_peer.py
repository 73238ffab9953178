#!/usr/bin/python3
"""FTP peer for the integration tests: anonymous read access and the user
"tester" with password "secret", both on DIR.  usage: ftp_peer.py PORT DIR"""
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

authorizer = DummyAuthorizer()
authorizer.add_anonymous(sys.argv[2])
authorizer.add_user("tester", "secret", sys.argv[2], perm="elr")
FTPHandler.authorizer = authorizer
FTPServer(("127.0.0.1", int(sys.argv[1])), FTPHandler).serve_forever()
