package com.vum.kel.util;

/** The toolkit's class whose native half is Tesmaru.dll. */
public class WindowsCommandCenter {
  static {
    System.loadLibrary("Tesmaru");
  }

  public native String getSTDOUT(String commandLine);
}
