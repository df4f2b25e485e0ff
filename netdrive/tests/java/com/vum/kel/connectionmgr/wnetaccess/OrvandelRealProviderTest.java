package com.vum.kel.connectionmgr.wnetaccess;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;

import org.junit.jupiter.api.Test;

/** The native methods against Wine's own provider, which knows no network. */
class OrvandelRealProviderTest {
  private final Orvandel orvandel = new Orvandel();

  @Test
  void questionsAboutConnectionsAnswerTheirFailureTexts() {
    assertEquals("Error", orvandel.getMountLocationFor("Z:\\x"));
    assertEquals("Error", orvandel.getHostNameFor("Z:"));
    assertEquals("error", orvandel.getProviderNameFor("Z:"));
    assertEquals("", orvandel.getAllConnectedDeviceNames());
    assertFalse(orvandel.disconnectConnection("Z:"));
    assertEquals(System.getProperty("user.name"), orvandel.getUserIDFor(""));
  }
}
