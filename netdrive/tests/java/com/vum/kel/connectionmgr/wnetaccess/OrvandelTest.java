package com.vum.kel.connectionmgr.wnetaccess;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertTrue;

import org.junit.jupiter.api.Test;

/**
 * The seven native methods called by a real VM (-Xcheck:jni) against the
 * stand-in provider, whose connections the test's environment scripts
 * (KEL_STANDIN_CONNECTIONS): F: and G: in plain names, and W: and the
 * device named by WORD, whose texts hold WORD: a code page word, CJK and a
 * character above U+FFFF.
 */
class OrvandelTest {
  static final String WORD = "J\u00fcrgen\u041e\u0442\u0447\u0451\u0442\u65e5\u672c\ud83d\ude00";

  private final Orvandel orvandel = new Orvandel();

  @Test
  void questionsAreAnsweredFromTheProvider() {
    assertFalse(orvandel.isBinaryConnection("F:"));
    assertFalse(orvandel.isBinaryConnection(null));
    assertEquals("\\\\fs\\projects\\dir\\a.txt", orvandel.getMountLocationFor("F:\\dir\\a.txt"));
    assertEquals("\\\\fs\\projects", orvandel.getHostNameFor("F:"));
    assertEquals("alice", orvandel.getUserIDFor("F:"));
    assertEquals("Demo Network", orvandel.getProviderNameFor("F:"));
    assertEquals("Error", orvandel.getMountLocationFor("Q:\\x"));
    assertEquals("Error", orvandel.getHostNameFor("Q:"));
    assertEquals("Error", orvandel.getUserIDFor("Q:"));
    assertEquals("", orvandel.getProviderNameFor("Q:"));
    assertEquals("Error", orvandel.getHostNameFor(null));
  }

  @Test
  void everyCharacterGoesInAndComesBackWhole() {
    assertEquals("\\\\fs\\" + WORD + "\\" + WORD, orvandel.getMountLocationFor("W:\\" + WORD));
    assertEquals("\\\\fs\\" + WORD, orvandel.getHostNameFor("W:"));
    assertEquals(WORD, orvandel.getUserIDFor("W:"));
    assertEquals(WORD + " Network", orvandel.getProviderNameFor("W:"));
    assertEquals("Demo Network", orvandel.getProviderNameFor(WORD + ":"));
    // No platform string carries U+0000: refused without asking the provider.
    assertEquals("Error", orvandel.getHostNameFor("W:\u0000"));
    assertEquals("error", orvandel.getProviderNameFor("W:\u0000"));
  }

  @Test
  void aDisconnectedDriveLeavesTheListing() {
    assertEquals("F:G:W:" + WORD + ":", orvandel.getAllConnectedDeviceNames());
    assertTrue(orvandel.disconnectConnection("G:"));
    assertFalse(orvandel.disconnectConnection("G:"));
    assertEquals("F:W:" + WORD + ":", orvandel.getAllConnectedDeviceNames());
  }
}
