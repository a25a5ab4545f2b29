// A Wine printer on the PostScript driver whose port is a host file: a raw
// job bypasses the driver and lands in the file unchanged. Added for the life
// of the object, under a name no other test process uses. Wine only: a test
// that needs it starts with OV_SKIP_UNLESS_FILE_PRINTER().
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ovcall/host.h"

#define OV_SKIP_UNLESS_FILE_PRINTER()                                                              \
    if (ovcall::UnderWine()) {                                                                     \
    } else                                                                                         \
        GTEST_SKIP()                                                                               \
            << "runs only under Wine: its printer is Wine's PostScript driver on a host file"

class FilePrinter {
  public:
    FilePrinter();
    ~FilePrinter();
    FilePrinter(const FilePrinter&) = delete;
    FilePrinter& operator=(const FilePrinter&) = delete;

    const std::string& name() const { return m_name; }
    // Empties the port, so that the next job's bytes are the only ones there.
    void ClearPort() const;
    // What reached the port; waits up to two seconds for the spooler to write
    // it, "<nothing>" when nothing came.
    std::string Arrived() const;

  private:
    std::string m_name;
    std::string m_hostPath;
    std::string m_windowsPath;
};
