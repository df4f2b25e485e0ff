package com.vum.kel.launchertest;

/** Stands in keltoolClient.jar for the tests: records what the tool client would be given. */
public final class ToolClient {
  public static void main(String[] args) throws Exception {
    ArgumentRecord.recordAndExit("keltoolClient.jar", args);
  }
}
