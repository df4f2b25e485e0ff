package com.vum.kel.launchertest;

import java.io.File;
import java.io.RandomAccessFile;
import java.nio.channels.FileLock;

/**
 * Holds WORKSPACE\.metadata\.lock the way the IDE's platform does, until the
 * file RELEASE exists (or two minutes pass); says "holding" once it does.
 * Usage: HoldWorkspaceLock WORKSPACE RELEASE
 */
public final class HoldWorkspaceLock {
  public static void main(String[] args) throws Exception {
    final File metadata = new File(args[0], ".metadata");
    metadata.mkdirs();
    try (RandomAccessFile file = new RandomAccessFile(new File(metadata, ".lock"), "rw");
         FileLock lock = file.getChannel().tryLock()) {
      if (lock == null) {
        System.out.println("could not lock " + metadata);
        System.exit(1);
      }
      System.out.println("holding");
      System.out.flush();
      final File release = new File(args[1]);
      for (long waited = 0; waited < 120_000 && !release.exists(); waited += 50) Thread.sleep(50);
    }
  }
}
