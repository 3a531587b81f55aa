// A stand-in for qorvex and tessmar: sends the argument vector it was started with, each argument
// followed by a zero byte, to the local socket named by QB_ARGV_RECORDER, then ends.
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* socketPath = std::getenv("QB_ARGV_RECORDER");
    if (!socketPath || std::strlen(socketPath) >= sizeof(sockaddr_un::sun_path))
        return 2;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, socketPath);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return 3;
    std::string record;
    for (int i = 0; i < argc; ++i)
        record.append(argv[i], std::strlen(argv[i]) + 1);
    for (size_t sent = 0; sent < record.size();) {
        const ssize_t n = ::write(fd, record.data() + sent, record.size() - sent);
        if (n <= 0)
            return 4;
        sent += size_t(n);
    }
    ::close(fd);
    return 0;
}
