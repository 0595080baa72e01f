// One upload or download through the editor's FTP client, for the
// ftp-vs-curl benchmark:
//   ftp_transfer HOST:PORT upload LOCAL REMOTE
//   ftp_transfer HOST:PORT download REMOTE LOCAL
// Logs in as "anonymous", transfers in active mode and hangs up.
#include "device/id_ftp.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::cerr << "usage: ftp_transfer HOST:PORT upload LOCAL REMOTE | download REMOTE LOCAL\n";
        return 2;
    }
    const std::string mode = argv[2];
    hoofer::TIdFTP ftp;
    ftp.Host = argv[1];
    ftp.Username = "anonymous";
    ftp.Password = "bench@home";
    try {
        ftp.Connect();
        if (mode == "upload") {
            std::ifstream in(argv[3], std::ios::binary);
            hoofer::TMemoryStream source(std::string(std::istreambuf_iterator<char>(in), {}));
            ftp.Store(source, argv[4]);
        } else if (mode == "download") {
            hoofer::TMemoryStream destination;
            ftp.Retrieve(argv[3], destination);
            std::ofstream(argv[4], std::ios::binary) << destination.Bytes();
        } else {
            std::cerr << "unknown mode " << mode << "\n";
            return 2;
        }
        ftp.Disconnect();
    } catch (const std::exception &e) {
        std::cerr << "ftp_transfer: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
