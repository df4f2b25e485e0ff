package com.vum.kel.launchertest;

import static java.nio.charset.StandardCharsets.UTF_8;

import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;

/**
 * What the launchers' programs received, for the tests: written to the file
 * KEL_STANDIN_RECORD names as an empty entry (no raw command line: Java does
 * not keep it), the program, then each argument, every entry in UTF-8 and
 * ended by a zero byte. The program then ends with KEL_STANDIN_EXIT.
 */
public final class ArgumentRecord {
  private ArgumentRecord() {}

  public static void recordAndExit(String program, String[] args) throws IOException {
    final String path = System.getenv("KEL_STANDIN_RECORD");
    if (path != null) {
      try (OutputStream record = new FileOutputStream(path)) {
        record.write(0);
        write(record, program);
        for (String argument : args) write(record, argument);
      }
    }
    final String exitCode = System.getenv("KEL_STANDIN_EXIT");
    System.exit(exitCode == null ? 0 : Integer.parseInt(exitCode));
  }

  private static void write(OutputStream record, String entry) throws IOException {
    record.write(entry.getBytes(UTF_8));
    record.write(0);
  }
}
