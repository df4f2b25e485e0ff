package com.vum.kel.demo;

import com.vum.kel.connectionmgr.wnetaccess.Orvandel;
import com.vum.kel.util.WindowsCommandCenter;

/** Both libraries called as the toolkit's Java classes call them, in a real VM. */
public final class KelDemo {
  public static void main(String[] args) {
    final WindowsCommandCenter center = new WindowsCommandCenter();
    for (String commandLine : new String[] {"cmd /c echo hello from Java & cmd /c echo second", "hostname",
        "cmd /c exit 3"}) {
      show("getSTDOUT(\"" + commandLine + "\")", center.getSTDOUT(commandLine));
    }
    final Orvandel orvandel = new Orvandel();
    show("getAllConnectedDeviceNames()", orvandel.getAllConnectedDeviceNames());
    show("getProviderNameFor(\"Z:\")", orvandel.getProviderNameFor("Z:"));
    show("getHostNameFor(\"Z:\")", orvandel.getHostNameFor("Z:"));
    show("getUserIDFor(\"Z:\")", orvandel.getUserIDFor("Z:"));
    show("getMountLocationFor(\"Z:\\\\nightly\\\\app.zip\")", orvandel.getMountLocationFor("Z:\\nightly\\app.zip"));
    show("isBinaryConnection(\"Z:\")", String.valueOf(orvandel.isBinaryConnection("Z:")));
  }

  private static void show(String call, String answer) {
    System.out.println(call + " gives:");
    for (String line : answer.split("\n", -1)) System.out.println("  | " + line.replace("\r", ""));
  }
}
