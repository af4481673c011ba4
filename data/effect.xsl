<?xml version="1.0"?>
<!-- Shows an effect description (the effect type's ".xml" file) as a page:
     the parameters with their types and defaults, then the vars with their
     defaults and ranges, filling in what the description leaves out the way
     the program does (a var's default 0, min 0, max 1). Use it with an
     XSLT 1.0 processor, for example
         xsltproc effect.xsl letterbox.xml > letterbox.html
     or put <?xml-stylesheet type="text/xsl" href="effect.xsl"?> at the top
     of a description and open it in a browser. The program never reads it. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" indent="yes" encoding="UTF-8"/>

  <xsl:template match="/">
    <html>
      <head>
        <title>
          <xsl:call-template name="effect-name"/>
        </title>
        <style>
          body { font-family: sans-serif; background: #10131c; color: #dfe8f5; }
          h1 { color: #8cccff; letter-spacing: 0.1em; }
          table { border-collapse: collapse; margin-bottom: 2em; }
          th, td { border-bottom: 1px solid #334; padding: 0.2em 1em; text-align: left; }
          th { color: #ff9e40; }
          .none { color: #667; }
        </style>
      </head>
      <body>
        <h1>
          <xsl:call-template name="effect-name"/>
        </h1>
        <xsl:apply-templates select="comment()"/>
        <h2>Parameters</h2>
        <xsl:choose>
          <xsl:when test="//value">
            <table>
              <tr><th>name</th><th>type</th><th>default</th></tr>
              <xsl:apply-templates select="//value"/>
            </table>
          </xsl:when>
          <xsl:otherwise><p class="none">none</p></xsl:otherwise>
        </xsl:choose>
        <h2>Vars</h2>
        <xsl:choose>
          <xsl:when test="//var">
            <table>
              <tr><th>name</th><th>default</th><th>min</th><th>max</th></tr>
              <xsl:apply-templates select="//var"/>
            </table>
          </xsl:when>
          <xsl:otherwise><p class="none">none</p></xsl:otherwise>
        </xsl:choose>
      </body>
    </html>
  </xsl:template>

  <!-- The root element's "name", or its element name when it has none. -->
  <xsl:template name="effect-name">
    <xsl:choose>
      <xsl:when test="/*/@name"><xsl:value-of select="/*/@name"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="name(/*)"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <!-- The comment at the top of a description says what the effect does. -->
  <xsl:template match="comment()">
    <p><xsl:value-of select="normalize-space(.)"/></p>
  </xsl:template>

  <xsl:template match="value">
    <tr>
      <td><xsl:value-of select="@name"/></td>
      <td>
        <xsl:choose>
          <xsl:when test="@type = 'int' or @type = 'float' or @type = 'array3' or @type = 'array4' or @type = 'string'">
            <xsl:value-of select="@type"/>
          </xsl:when>
          <xsl:otherwise><span class="none">no type: text cannot set it</span></xsl:otherwise>
        </xsl:choose>
      </td>
      <td>
        <xsl:choose>
          <xsl:when test="@default"><xsl:value-of select="@default"/></xsl:when>
          <xsl:otherwise><span class="none">as registered</span></xsl:otherwise>
        </xsl:choose>
      </td>
    </tr>
  </xsl:template>

  <xsl:template match="var">
    <tr>
      <td><xsl:value-of select="@name"/></td>
      <td><xsl:call-template name="or-else"><xsl:with-param name="given" select="@default"/><xsl:with-param name="otherwise" select="'0'"/></xsl:call-template></td>
      <td><xsl:call-template name="or-else"><xsl:with-param name="given" select="@min"/><xsl:with-param name="otherwise" select="'0'"/></xsl:call-template></td>
      <td><xsl:call-template name="or-else"><xsl:with-param name="given" select="@max"/><xsl:with-param name="otherwise" select="'1'"/></xsl:call-template></td>
    </tr>
  </xsl:template>

  <!-- An attribute's value, or the program's value when it is absent. -->
  <xsl:template name="or-else">
    <xsl:param name="given"/>
    <xsl:param name="otherwise"/>
    <xsl:choose>
      <xsl:when test="$given"><xsl:value-of select="$given"/></xsl:when>
      <xsl:otherwise><xsl:value-of select="$otherwise"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>
</xsl:stylesheet>
