package org.eclipse.core.launcher;

import com.vum.kel.launchertest.ArgumentRecord;

/** Stands in startup.jar for the tests: records what the password application would be given. */
public final class Main {
  public static void main(String[] args) throws Exception {
    ArgumentRecord.recordAndExit("org.eclipse.core.launcher.Main", args);
  }
}
