package com.vum.kel.connectionmgr.wnetaccess;

/** The toolkit's class whose native half is Orvandel.dll. */
public class Orvandel {
  static {
    System.loadLibrary("Orvandel");
  }

  public native boolean isBinaryConnection(Object connection);

  public native String getMountLocationFor(String localPath);

  public native String getUserIDFor(String name);

  public native String getHostNameFor(String localName);

  public native boolean disconnectConnection(String name);

  public native String getProviderNameFor(String localName);

  public native String getAllConnectedDeviceNames();
}
