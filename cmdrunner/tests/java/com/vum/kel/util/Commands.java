package com.vum.kel.util;

import java.io.File;

/** What the Java tests of getSTDOUT run, and how its answers end. */
final class Commands {
  /** The tests' child program, quoted, as the start of a command. */
  static final String CHILD = "\"" + System.getProperty("kel.runnerChild") + "\"";

  private Commands() {}

  static String lastLine(int code) {
    return "\nThe highest return code is " + code;
  }

  /**
   * A file name of this process's own in the temporary folder. Not
   * File.createTempFile: its random names seed from the network adapters,
   * and asking for those crashes the VM under Wine.
   */
  static File temporaryFile(String suffix) {
    return new File(System.getProperty("java.io.tmpdir"), "tesmaru-" + ProcessHandle.current().pid() + "." + suffix);
  }
}
